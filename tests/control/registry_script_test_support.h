// Helpers shared by the registry script tests: the shipped scripts as text, and a flat
// listing of a parsed tree that reads like the script itself.
#pragma once

#include "control/module/registry_script.h"

#include <string>
#include <vector>

namespace kv::test {

// The text of one of the REGISTRY resources embedded in the test program.
std::wstring ShippedScript(unsigned resourceId);

// One line per key and value, e.g.
//   HKCR\CLSID [NoRemove]
//   HKCR\CLSID\{...}\InprocServer32 = s 'C:\x.ocx'
//   HKCR\CLSID\{...}\InprocServer32 val ThreadingModel = s 'Apartment'
std::vector<std::wstring> Flatten(const RegistryScript& script);

}  // namespace kv::test
