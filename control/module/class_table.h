// One entry of the module's class table: what the module needs to hand out, create and
// register one creatable class.
#pragma once

#include <windows.h>
#include <unknwn.h>
#include <comcat.h>

#include "base/com_ptr.h"

namespace kv {

using InstanceCreator = HRESULT (*)(IUnknown* outer, REFIID riid, void** object);
using ClassFactoryCreator = HRESULT (*)(InstanceCreator creator, REFIID riid, void** object);

struct ComponentCategory {
    const CATID* id;
    bool required;  // false: an implemented category
};

struct ClassTableEntry {
    const CLSID* clsid;
    HRESULT (*updateRegistry)(bool registering);  // runs the class's registry script
    ClassFactoryCreator createClassFactory;
    InstanceCreator createInstance;
    const ComponentCategory* categories;  // ends with an entry whose id is null
    void (*objectMain)(bool starting);    // class start/stop hook
    ComPtr<IClassFactory> classFactory;   // created on first request, then kept
};

// The module's classes; `count` receives the number of entries.
ClassTableEntry* ModuleClassTable(size_t& count);

}  // namespace kv
