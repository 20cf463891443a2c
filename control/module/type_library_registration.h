// Registration of the type library that the module carries as its TYPELIB resource.
#pragma once

#include <windows.h>

#include <string>

namespace kv {

// Loads the library from the module file (failing that, from the file of the same name with
// the extension .tlb) and registers it with the module path.
HRESULT RegisterModuleTypeLibrary(const std::wstring& modulePath);

// Unregisters the library by the identity, version, locale and platform it reports.
HRESULT UnregisterModuleTypeLibrary(const std::wstring& modulePath);

// The folder part of a help file path: everything before its last '\', '/' or ':'.
std::wstring HelpFolderOf(const std::wstring& helpFile);

}  // namespace kv
