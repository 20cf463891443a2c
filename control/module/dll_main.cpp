// Entry point of Korvendal.ocx: starts and stops the module object.
#include <windows.h>

#include "control/module/module.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    switch (reason) {
        case DLL_PROCESS_ATTACH:
            ::DisableThreadLibraryCalls(instance);
            kv::KorvendalModule().Initialize(instance);
            break;
        case DLL_PROCESS_DETACH:
            // A non-null `reserved` means the process is ending rather than unloading us.
            kv::KorvendalModule().Terminate(reserved != nullptr);
            break;
        default:
            break;
    }
    return TRUE;
}
