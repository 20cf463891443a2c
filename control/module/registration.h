// Self-registration of the module: registry scripts, component categories and the type
// library, in the order DllRegisterServer and DllUnregisterServer run them.
#pragma once

#include <windows.h>

namespace kv {

HRESULT RegisterServer();
HRESULT UnregisterServer();

}  // namespace kv
