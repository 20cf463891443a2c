#include "control/module/module.h"

#include "base/result.h"
#include "control/object/server_state.h"
#include "korvendal.h"

namespace kv {

const GUID kKorvendalAppId = {0xcf7db100, 0xa536, 0x4b12, {0xaa, 0x19, 0x68, 0xc3, 0xf5, 0x22, 0x45, 0xbe}};
const wchar_t kKorvendalAppIdText[] = L"{CF7DB100-A536-4B12-AA19-68C3F52245BE}";

CKorvendalModule::CKorvendalModule() : libid_(LIBID_KorvendalLib) {}

CKorvendalModule::~CKorvendalModule() = default;

LONG CKorvendalModule::Lock() { return ::InterlockedIncrement(&lockCount_); }

LONG CKorvendalModule::Unlock() { return ::InterlockedDecrement(&lockCount_); }

LONG CKorvendalModule::GetLockCount() { return lockCount_; }

HRESULT CKorvendalModule::GetGlobalInterfaceTable(IGlobalInterfaceTable** table) {
    if (!table) return E_POINTER;
    *table = nullptr;
    Guard guard(creationLock_);
    if (!globalInterfaceTable_) {
        RETURN_IF_FAILED(::CoCreateInstance(CLSID_StdGlobalInterfaceTable, nullptr, CLSCTX_INPROC_SERVER,
                                            IID_IGlobalInterfaceTable, globalInterfaceTable_.put_void()));
    }
    return globalInterfaceTable_.copy_to(table);
}

void CKorvendalModule::AddCommonReplacements(RegistryReplacements& replacements) {
    replacements.Add(L"APPID", kKorvendalAppIdText);
}

void CKorvendalModule::Initialize(HINSTANCE instance) {
    instance_ = instance;
    initialized_ = true;
}

void CKorvendalModule::Terminate(bool processEnding) {
    size_t count = 0;
    ClassTableEntry* table = ModuleClassTable(count);
    for (size_t i = 0; i < count; ++i) {
        if (table[i].objectMain) table[i].objectMain(false);
        table[i].classFactory.reset();
    }
    // When the process ends, ole32 may already be gone: the table is then left behind
    // rather than released into a torn-down COM.
    if (processEnding) {
        static_cast<void>(globalInterfaceTable_.detach());
    } else {
        globalInterfaceTable_.reset();
    }
    initialized_ = false;
}

HRESULT CKorvendalModule::GetClassObject(REFCLSID clsid, REFIID riid, void** object) try {
    size_t count = 0;
    ClassTableEntry* table = ModuleClassTable(count);
    if (!table) return E_INVALIDARG;
    if (!initialized_) return E_UNEXPECTED;
    if (!object) return E_POINTER;
    *object = nullptr;

    for (size_t i = 0; i < count; ++i) {
        ClassTableEntry& entry = table[i];
        if (!IsEqualCLSID(*entry.clsid, clsid)) continue;
        if (!entry.classFactory) {
            Guard guard(creationLock_);
            if (!entry.classFactory) {
                RETURN_IF_FAILED(entry.createClassFactory(entry.createInstance, IID_IClassFactory,
                                                          entry.classFactory.put_void()));
            }
        }
        HRESULT hr = entry.classFactory->QueryInterface(riid, object);
        if (SUCCEEDED(hr) && !*object) hr = CLASS_E_CLASSNOTAVAILABLE;
        return hr;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}
CATCH_RETURN()

CKorvendalModule& KorvendalModule() {
    static CKorvendalModule module;
    return module;
}

}  // namespace kv

HINSTANCE KorvendalModuleInstance() {
    if (HINSTANCE instance = kv::KorvendalModule().instance()) return instance;
    // Linked into a program rather than loaded as the control's DLL: the module is the one
    // that holds this code.
    HMODULE module = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&KorvendalModuleInstance), &module);
    return module;
}

void ModuleLock() { kv::KorvendalModule().Lock(); }

void ModuleUnlock() { kv::KorvendalModule().Unlock(); }

LONG ModuleLockCount() { return kv::KorvendalModule().GetLockCount(); }
