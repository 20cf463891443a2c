// CKorvendalModule: the one module object of Korvendal.ocx. It holds the lock count, the
// module's identifiers, the class table and the lock that guards class-factory creation.
#pragma once

#include <windows.h>
#include <objidl.h>

#include "base/com_ptr.h"
#include "control/module/class_table.h"
#include "control/module/registry_script_replacement.h"

namespace kv {

extern const GUID kKorvendalAppId;        // {CF7DB100-A536-4B12-AA19-68C3F52245BE}
extern const wchar_t kKorvendalAppIdText[];

class CKorvendalModule {
public:
    CKorvendalModule();
    virtual ~CKorvendalModule();
    CKorvendalModule(const CKorvendalModule&) = delete;
    CKorvendalModule& operator=(const CKorvendalModule&) = delete;

    virtual LONG Lock();
    virtual LONG Unlock();
    virtual LONG GetLockCount();
    // The process-wide interface table, created on the first request and kept.
    virtual HRESULT GetGlobalInterfaceTable(IGlobalInterfaceTable** table);
    // The replacements every registry script of this module gets (APPID).
    virtual void AddCommonReplacements(RegistryReplacements& replacements);

    // Called from DllMain when the module is loaded and unloaded. `processEnding` tells that
    // the process is going away, when other modules may be gone already.
    void Initialize(HINSTANCE instance);
    void Terminate(bool processEnding);

    bool initialized() const { return initialized_; }
    HINSTANCE instance() const { return instance_; }
    const GUID& libid() const { return libid_; }
    const GUID& appid() const { return kKorvendalAppId; }

    // The class factory of `clsid` asked for `riid`; the algorithm of DllGetClassObject.
    HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** object);

private:
    class CriticalSection {
    public:
        CriticalSection() { ::InitializeCriticalSection(&section_); }
        ~CriticalSection() { ::DeleteCriticalSection(&section_); }
        CriticalSection(const CriticalSection&) = delete;
        CriticalSection& operator=(const CriticalSection&) = delete;
        void Enter() { ::EnterCriticalSection(&section_); }
        void Leave() { ::LeaveCriticalSection(&section_); }

    private:
        CRITICAL_SECTION section_;
    };
    class Guard {
    public:
        explicit Guard(CriticalSection& section) : section_(section) { section_.Enter(); }
        ~Guard() { section_.Leave(); }
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;

    private:
        CriticalSection& section_;
    };

    volatile LONG lockCount_ = 0;
    GUID libid_;
    HINSTANCE instance_ = nullptr;
    bool initialized_ = false;
    CriticalSection creationLock_;
    ComPtr<IGlobalInterfaceTable> globalInterfaceTable_;
};

// The process's module object.
CKorvendalModule& KorvendalModule();

}  // namespace kv
