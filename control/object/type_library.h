// The type library embedded in the module (resource TYPELIB 1), loaded from the module's
// own file without touching the registry.
#pragma once

#include <windows.h>
#include <oaidl.h>

// The type information of `guid` (an interface, dispinterface or class of KorvendalLib).
HRESULT LoadModuleTypeInfo(REFGUID guid, ITypeInfo** info) noexcept;
