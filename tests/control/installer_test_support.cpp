#include "installer_test_support.h"

#include <oleauto.h>

namespace {

using GetClassObjectFunction = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using CanUnloadNowFunction = HRESULT(STDAPICALLTYPE*)();

const wchar_t kSiteWindowClass[] = L"KorvendalTestSite";

}  // namespace

InstallerModule::InstallerModule() {
    // Never released: the module stays for the whole test program.
    ::OleInitialize(nullptr);
    module_ = ::LoadLibraryW(L"Korvendal.ocx");
}

InstallerModule& InstallerModule::Get() {
    static InstallerModule module;
    return module;
}

HRESULT InstallerModule::Create(REFIID riid, void** object, IUnknown* outer) {
    *object = nullptr;
    if (!module_) return HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
    auto get = reinterpret_cast<GetClassObjectFunction>(
        reinterpret_cast<void*>(::GetProcAddress(module_, "DllGetClassObject")));
    if (!get) return E_UNEXPECTED;
    kv::ComPtr<IClassFactory> factory;
    const HRESULT hr = get(CLSID_Installer, IID_IClassFactory, factory.put_void());
    if (FAILED(hr)) return hr;
    return factory->CreateInstance(outer, riid, object);
}

HRESULT InstallerModule::CanUnloadNow() {
    auto can = reinterpret_cast<CanUnloadNowFunction>(
        reinterpret_cast<void*>(::GetProcAddress(module_, "DllCanUnloadNow")));
    return can ? can() : E_UNEXPECTED;
}

std::wstring TakeErrorDescription() {
    kv::ComPtr<IErrorInfo> info;
    if (::GetErrorInfo(0, info.put()) != S_OK || !info) return {};
    kv::UniqueBstr description;
    info->GetDescription(description.put());
    return description.str();
}

void PumpPendingMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

HRESULT FakeEventSink::QueryInterface(REFIID riid, void** object) {
    *object = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch ||
        (answersEvents && riid == DIID__IInstallerEvents)) {
        *object = static_cast<IDispatch*>(this);
        return S_OK;
    }
    return E_NOINTERFACE;
}

HRESULT FakeEventSink::GetTypeInfoCount(UINT*) {
    ADD_FAILURE() << "unexpected GetTypeInfoCount";
    return E_NOTIMPL;
}

HRESULT FakeEventSink::GetTypeInfo(UINT, LCID, ITypeInfo**) {
    ADD_FAILURE() << "unexpected GetTypeInfo";
    return E_NOTIMPL;
}

HRESULT FakeEventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    ADD_FAILURE() << "unexpected GetIDsOfNames";
    return E_NOTIMPL;
}

HRESULT FakeEventSink::Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                              VARIANT* result, EXCEPINFO*, UINT*) {
    EXPECT_TRUE(riid == IID_NULL);
    EXPECT_EQ(static_cast<LCID>(LOCALE_USER_DEFAULT), lcid);
    EXPECT_EQ(DISPATCH_METHOD, flags);
    EXPECT_NE(nullptr, params);
    if (params) {
        EXPECT_EQ(0u, params->cArgs);
    }
    EXPECT_NE(nullptr, result);
    journal_.push_back(std::string(name_) + ":" + std::to_string(id));
    if (onEvent) onEvent(id);
    return S_OK;
}

FakeSite::FakeSite() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kSiteWindowClass;
    ::RegisterClassW(&windowClass);  // fails harmlessly when registered before
    window_ = ::CreateWindowExW(0, kSiteWindowClass, L"site", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                0, 0, 640, 480, nullptr, nullptr, windowClass.hInstance, nullptr);
}

FakeSite::~FakeSite() {
    if (window_) ::DestroyWindow(window_);
}

HRESULT FakeSite::QueryInterface(REFIID riid, void** object) {
    *object = nullptr;
    if (riid == IID_IUnknown || riid == IID_IOleClientSite) {
        *object = static_cast<IOleClientSite*>(this);
    } else if (riid == IID_IOleInPlaceSite || riid == IID_IOleWindow) {
        *object = static_cast<IOleInPlaceSite*>(this);
    } else {
        return E_NOINTERFACE;
    }
    return S_OK;
}

HRESULT FakeSite::SaveObject() {
    ++saves;
    return S_OK;
}

HRESULT FakeSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    *moniker = nullptr;
    return E_NOTIMPL;
}

HRESULT FakeSite::GetContainer(IOleContainer** container) {
    *container = nullptr;
    return E_NOINTERFACE;
}

HRESULT FakeSite::ShowObject() {
    ++shows;
    return S_OK;
}

HRESULT FakeSite::OnShowWindow(BOOL) {
    ADD_FAILURE() << "unexpected OnShowWindow";
    return E_NOTIMPL;
}

HRESULT FakeSite::RequestNewObjectLayout() {
    ADD_FAILURE() << "unexpected RequestNewObjectLayout";
    return E_NOTIMPL;
}

HRESULT FakeSite::GetWindow(HWND* window) {
    *window = window_;
    return S_OK;
}

HRESULT FakeSite::ContextSensitiveHelp(BOOL) {
    ADD_FAILURE() << "unexpected ContextSensitiveHelp";
    return E_NOTIMPL;
}

HRESULT FakeSite::CanInPlaceActivate() { return S_OK; }

HRESULT FakeSite::OnInPlaceActivate() {
    ++inPlaceActivations;
    return S_OK;
}

HRESULT FakeSite::OnUIActivate() {
    ++uiActivations;
    return S_OK;
}

HRESULT FakeSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                   LPRECT positionOut, LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
    *frame = nullptr;
    *document = nullptr;
    *positionOut = position;
    *clip = position;
    EXPECT_EQ(sizeof(OLEINPLACEFRAMEINFO), info->cb);
    info->fMDIApp = FALSE;
    info->hwndFrame = window_;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

HRESULT FakeSite::Scroll(SIZE) {
    ADD_FAILURE() << "unexpected Scroll";
    return E_NOTIMPL;
}

HRESULT FakeSite::OnUIDeactivate(BOOL) {
    ++uiDeactivations;
    return S_OK;
}

HRESULT FakeSite::OnInPlaceDeactivate() {
    ++inPlaceDeactivations;
    return S_OK;
}

HRESULT FakeSite::DiscardUndoState() {
    ADD_FAILURE() << "unexpected DiscardUndoState";
    return E_NOTIMPL;
}

HRESULT FakeSite::DeactivateAndUndo() {
    ADD_FAILURE() << "unexpected DeactivateAndUndo";
    return E_NOTIMPL;
}

HRESULT FakeSite::OnPosRectChange(LPCRECT positionIn) {
    requested = *positionIn;
    position = *positionIn;
    if (placed) placed->SetObjectRects(positionIn, positionIn);
    return S_OK;
}
