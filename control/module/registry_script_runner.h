// Runs one of the module's REGISTRY resources against the registry, with the module's
// replacements (APPID, MODULE, Module_Raw) and the caller's own.
#pragma once

#include "control/module/registry_script_applier.h"
#include "control/module/registry_script_replacement.h"

#include <string>

namespace kv {

// The full path of the module file (the OCX, or the program that holds this code).
HRESULT GetModuleFilePath(std::wstring& path);

HRESULT RunRegistryScriptResource(UINT resourceId, RegistryScriptMode mode, RegistryReplacements replacements);

}  // namespace kv
