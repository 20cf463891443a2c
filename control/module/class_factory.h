// The standard class factory of the module's classes: creates instances through the class
// table's instance creator and maps LockServer onto the module lock.
#pragma once

#include "control/module/class_table.h"

namespace kv {

// Creates a class factory for `creator` and asks it for `riid`.
HRESULT CreateClassFactory(InstanceCreator creator, REFIID riid, void** object);

}  // namespace kv
