// What the control's objects need from the server that holds them: its instance handle and
// the lock count that every live object holds one count of. The module implements these.
#pragma once

#include <windows.h>

HINSTANCE KorvendalModuleInstance();
void ModuleLock();    // one count per live object or class-factory lock
void ModuleUnlock();
LONG ModuleLockCount();
