// Shared pieces of the Installer object tests: the real Korvendal.ocx loaded with LoadLibrary,
// OLE started for the test, and small static fakes of the host side (an event sink, a client
// site over a real top-level window).
#pragma once

#include "base/codepage.h"
#include "base/com_ptr.h"
#include "korvendal.h"

#include <windows.h>
#include <ole2.h>
#include <objsafe.h>
#include <ocidl.h>

// mingw-w64's objsafe.h declares no uuid for the interface, which __uuidof needs.
__CRT_UUID_DECL(IObjectSafety, 0xcb5bdc81, 0x93c1, 0x11cf, 0x8f, 0x20, 0x00, 0x80, 0x5f, 0x2c, 0xd0, 0x64)

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// Loads Korvendal.ocx once per test program and starts OLE on the test thread.
class InstallerModule {
public:
    static InstallerModule& Get();
    HMODULE handle() const { return module_; }
    // A new plain instance, asked for `riid`.
    HRESULT Create(REFIID riid, void** object, IUnknown* outer = nullptr);
    HRESULT CanUnloadNow();

private:
    InstallerModule();
    HMODULE module_ = nullptr;
};

template <typename T>
kv::ComPtr<T> NewInstaller() {
    kv::ComPtr<T> object;
    EXPECT_EQ(S_OK, InstallerModule::Get().Create(__uuidof(T), object.put_void()));
    return object;
}

// Releases the last reference and says what Release returned.
template <typename T>
ULONG ReleaseLast(kv::ComPtr<T>& object) {
    return object.detach()->Release();
}

// The description of the thread's current error object; empty when there is none.
std::wstring TakeErrorDescription();

// An event sink for _IInstallerEvents. Static storage, so references are not counted; each
// call is written to a shared journal as "<name>:<dispid>".
class FakeEventSink final : public IDispatch {
public:
    FakeEventSink(const char* name, std::vector<std::string>& journal)
        : name_(name), journal_(journal) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                                     UINT*) override;

    bool answersEvents = true;  // false: refuses the _IInstallerEvents query
    std::function<void(DISPID)> onEvent;  // runs inside the event, as a page's handler does

private:
    const char* name_;
    std::vector<std::string>& journal_;
};

// A client site and in-place site over a real top-level window. It records what the control
// asked for and answers OnPosRectChange by placing the control where it asked.
class FakeSite final : public IOleClientSite, public IOleInPlaceSite {
public:
    FakeSite();
    ~FakeSite();
    HWND window() const { return window_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override;
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override;
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer**) override;
    HRESULT STDMETHODCALLTYPE ShowObject() override;
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override;
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override;

    // IOleWindow
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override;
    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override;
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override;
    HRESULT STDMETHODCALLTYPE OnUIActivate() override;
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame,
                                               IOleInPlaceUIWindow** document, LPRECT position,
                                               LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override;
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override;
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override;
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override;
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT position) override;

    RECT position{10, 20, 310, 220};  // what GetWindowContext reports
    IOleInPlaceObject* placed = nullptr;  // answered on OnPosRectChange when set
    int inPlaceActivations = 0;
    int inPlaceDeactivations = 0;
    int uiActivations = 0;
    int uiDeactivations = 0;
    int shows = 0;
    int saves = 0;
    RECT requested{};  // the last OnPosRectChange

private:
    HWND window_ = nullptr;
};

// Dispatches the thread's pending messages (posted notifications of the control window).
void PumpPendingMessages();
