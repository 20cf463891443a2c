// The four entry points of the in-process server.
#include <windows.h>
#include <objbase.h>

#include "base/result.h"
#include "control/module/module.h"
#include "control/module/registration.h"

STDAPI DllCanUnloadNow() { return kv::KorvendalModule().GetLockCount() == 0 ? S_OK : S_FALSE; }

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* object) {
    return kv::KorvendalModule().GetClassObject(clsid, riid, object);
}

STDAPI DllRegisterServer() try { return kv::RegisterServer(); }
CATCH_RETURN()

STDAPI DllUnregisterServer() try { return kv::UnregisterServer(); }
CATCH_RETURN()
