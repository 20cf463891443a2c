// In-place activation in a small client site over a real window: the control window, its
// place, the verbs, quick activation and the view.
#include "installer_test_support.h"

#include "control/resource.h"

namespace {

struct Activated {
    FakeSite site;
    kv::ComPtr<IOleObject> ole = NewInstaller<IOleObject>();
    kv::ComPtr<IOleInPlaceObject> inPlace;
    HWND control = nullptr;

    HRESULT Activate(LONG verb) {
        EXPECT_EQ(S_OK, ole->SetClientSite(&site));
        const HRESULT hr = ole->DoVerb(verb, nullptr, &site, 0, site.window(), &site.position);
        EXPECT_EQ(S_OK, ole.query(inPlace));
        inPlace->GetWindow(&control);
        return hr;
    }

    // Leaves the object released to its last reference, which the test checks.
    ULONG Finish() {
        ole->Close(OLECLOSE_NOSAVE);
        ole->SetClientSite(nullptr);
        inPlace.reset();
        return ReleaseLast(ole);
    }
};

// The control's own visibility; its test parent is never shown.
bool Shown(HWND window) { return (::GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0; }

RECT PlaceInParent(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void ExpectRect(const RECT& expected, const RECT& actual) {
    EXPECT_EQ(expected.left, actual.left);
    EXPECT_EQ(expected.top, actual.top);
    EXPECT_EQ(expected.right, actual.right);
    EXPECT_EQ(expected.bottom, actual.bottom);
}

// Counts the notifications of an OLE or view advise.
class FakeAdviseSink final : public IAdviseSink {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        *object = nullptr;
        if (riid != IID_IUnknown && riid != IID_IAdviseSink) return E_NOINTERFACE;
        *object = this;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    void STDMETHODCALLTYPE OnDataChange(FORMATETC*, STGMEDIUM*) override { ++dataChanges; }
    void STDMETHODCALLTYPE OnViewChange(DWORD aspect, LONG) override {
        EXPECT_EQ(static_cast<DWORD>(DVASPECT_CONTENT), aspect);
        ++viewChanges;
    }
    void STDMETHODCALLTYPE OnRename(IMoniker*) override { ADD_FAILURE() << "unexpected OnRename"; }
    void STDMETHODCALLTYPE OnSave() override { ++saves; }
    void STDMETHODCALLTYPE OnClose() override { ++closes; }

    int dataChanges = 0;
    int viewChanges = 0;
    int saves = 0;
    int closes = 0;
};

}  // namespace

TEST(InstallerInPlace, ActivationCreatesTheDialogWindowInTheSite) {
    Activated a;
    ASSERT_EQ(S_OK, a.Activate(OLEIVERB_INPLACEACTIVATE));
    ASSERT_NE(nullptr, a.control);
    EXPECT_EQ(a.site.window(), ::GetParent(a.control));
    EXPECT_TRUE(Shown(a.control));
    EXPECT_EQ(WS_CHILD, ::GetWindowLongW(a.control, GWL_STYLE) & WS_CHILD);
    char className[32] = {};
    ::GetClassNameA(a.control, className, sizeof className);
    EXPECT_STREQ("#32770", className);
    EXPECT_NE(nullptr, ::GetDlgItem(a.control, IDC_BACKGROUND));  // from template 105
    ExpectRect(a.site.position, PlaceInParent(a.control));
    EXPECT_EQ(1, a.site.inPlaceActivations);
    EXPECT_EQ(0, a.site.uiActivations);

    // A second activation keeps the window.
    EXPECT_EQ(S_OK, a.ole->DoVerb(OLEIVERB_SHOW, nullptr, &a.site, 0, a.site.window(), nullptr));
    HWND again = nullptr;
    a.inPlace->GetWindow(&again);
    EXPECT_EQ(a.control, again);
    EXPECT_EQ(1, a.site.inPlaceActivations);
    EXPECT_EQ(1, a.site.shows);
    EXPECT_EQ(0u, a.Finish());
}

TEST(InstallerInPlace, WindowNeverErasesItsBackground) {
    Activated a;
    ASSERT_EQ(S_OK, a.Activate(OLEIVERB_INPLACEACTIVATE));
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 8, 8);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    RECT all{0, 0, 8, 8};
    ::FillRect(memory, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    // Handled, with nothing drawn: the skin's background picture covers the window.
    EXPECT_EQ(0, ::SendMessageW(a.control, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0));
    EXPECT_EQ(RGB(0, 0, 0), ::GetPixel(memory, 4, 4));
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    EXPECT_EQ(0u, a.Finish());
}

TEST(InstallerInPlace, UiActivationIsAnnouncedToTheSiteAndUndoneOnce) {
    Activated a;
    ASSERT_EQ(S_OK, a.Activate(OLEIVERB_UIACTIVATE));
    EXPECT_EQ(1, a.site.uiActivations);
    EXPECT_EQ(S_OK, a.inPlace->UIDeactivate());
    EXPECT_EQ(1, a.site.uiDeactivations);
    EXPECT_EQ(S_OK, a.inPlace->UIDeactivate());
    EXPECT_EQ(1, a.site.uiDeactivations);
    EXPECT_EQ(0u, a.Finish());
}

TEST(InstallerInPlace, DeactivationDestroysTheWindow) {
    Activated a;
    ASSERT_EQ(S_OK, a.Activate(OLEIVERB_PRIMARY));
    ASSERT_TRUE(::IsWindow(a.control));
    EXPECT_EQ(S_OK, a.inPlace->InPlaceDeactivate());
    EXPECT_FALSE(::IsWindow(a.control));
    EXPECT_EQ(1, a.site.uiDeactivations);
    EXPECT_EQ(1, a.site.inPlaceDeactivations);
    HWND none = reinterpret_cast<HWND>(0xdeadbeef);
    EXPECT_EQ(E_FAIL, a.inPlace->GetWindow(&none));
    EXPECT_EQ(nullptr, none);
    // Activating again builds a new window.
    ASSERT_EQ(S_OK, a.ole->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &a.site, 0, a.site.window(), nullptr));
    EXPECT_EQ(S_OK, a.inPlace->GetWindow(&none));
    EXPECT_TRUE(::IsWindow(none));
    EXPECT_EQ(2, a.site.inPlaceActivations);
    EXPECT_EQ(0u, a.Finish());
}

TEST(InstallerInPlace, HideVerbHidesWithoutDestroying) {
    Activated a;
    ASSERT_EQ(S_OK, a.Activate(OLEIVERB_INPLACEACTIVATE));
    EXPECT_EQ(S_OK, a.ole->DoVerb(OLEIVERB_HIDE, nullptr, &a.site, 0, a.site.window(), nullptr));
    EXPECT_TRUE(::IsWindow(a.control));
    EXPECT_FALSE(Shown(a.control));
    EXPECT_EQ(E_NOTIMPL, a.ole->DoVerb(OLEIVERB_OPEN, nullptr, &a.site, 0, a.site.window(), nullptr));
    EXPECT_EQ(OLEOBJ_S_INVALIDVERB, a.ole->DoVerb(7, nullptr, &a.site, 0, a.site.window(), nullptr));
    EXPECT_EQ(0u, a.Finish());
}

TEST(InstallerInPlace, SetObjectRectsMovesAndClipsTheWindow) {
    Activated a;
    ASSERT_EQ(S_OK, a.Activate(OLEIVERB_INPLACEACTIVATE));
    const RECT moved{40, 50, 240, 150};
    EXPECT_EQ(S_OK, a.inPlace->SetObjectRects(&moved, &moved));
    ExpectRect(moved, PlaceInParent(a.control));
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(ERROR, ::GetWindowRgn(a.control, region));  // nothing clipped: no region

    const RECT clip{40, 50, 140, 100};
    EXPECT_EQ(S_OK, a.inPlace->SetObjectRects(&moved, &clip));
    ASSERT_EQ(SIMPLEREGION, ::GetWindowRgn(a.control, region));
    RECT box{};
    ::GetRgnBox(region, &box);
    ExpectRect(RECT{0, 0, 100, 50}, box);
    ::DeleteObject(region);
    EXPECT_EQ(0u, a.Finish());
}

TEST(InstallerInPlace, NewExtentAsksTheSiteForANewPlace) {
    Activated a;
    ASSERT_EQ(S_OK, a.Activate(OLEIVERB_INPLACEACTIVATE));
    a.site.placed = a.inPlace.get();
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    SIZEL extent{::MulDiv(200, 2540, dpi), ::MulDiv(100, 2540, dpi)};
    ASSERT_EQ(S_OK, a.ole->SetExtent(DVASPECT_CONTENT, &extent));
    EXPECT_EQ(10, a.site.requested.left);
    EXPECT_EQ(20, a.site.requested.top);
    EXPECT_EQ(200, a.site.requested.right - a.site.requested.left);
    EXPECT_EQ(100, a.site.requested.bottom - a.site.requested.top);
    ExpectRect(a.site.requested, PlaceInParent(a.control));
    a.site.placed = nullptr;
    EXPECT_EQ(0u, a.Finish());
}

TEST(InstallerInPlace, CloseSavesADirtyControlWhenAsked) {
    Activated a;
    FakeAdviseSink advise;
    DWORD connection = 0;
    ASSERT_EQ(S_OK, a.ole->Advise(&advise, &connection));
    EXPECT_NE(0u, connection);
    ASSERT_EQ(S_OK, a.Activate(OLEIVERB_INPLACEACTIVATE));
    SIZEL extent{5000, 4000};
    ASSERT_EQ(S_OK, a.ole->SetExtent(DVASPECT_CONTENT, &extent));
    EXPECT_EQ(S_OK, a.ole->Close(OLECLOSE_SAVEIFDIRTY));
    EXPECT_EQ(1, a.site.saves);
    EXPECT_EQ(1, advise.saves);
    EXPECT_EQ(1, advise.closes);
    EXPECT_EQ(S_OK, a.ole->Unadvise(connection));
    EXPECT_EQ(OLE_E_NOCONNECTION, a.ole->Unadvise(connection));
    EXPECT_FALSE(::IsWindow(a.control));
    EXPECT_EQ(1, a.site.inPlaceDeactivations);
    EXPECT_EQ(0u, a.Finish());
}

TEST(InstallerInPlace, WindowDestroyedWithItsSiteIsForgotten) {
    Activated a;
    ASSERT_EQ(S_OK, a.Activate(OLEIVERB_INPLACEACTIVATE));
    // The host throws its window away without deactivating the control first.
    ::DestroyWindow(a.site.window());
    EXPECT_FALSE(::IsWindow(a.control));
    HWND none = reinterpret_cast<HWND>(0xdeadbeef);
    EXPECT_EQ(E_FAIL, a.inPlace->GetWindow(&none));
    EXPECT_EQ(0u, a.Finish());
}

TEST(InstallerInPlace, ActivationWithoutASiteDoesNothing) {
    auto ole = NewInstaller<IOleObject>();
    FakeSite site;
    EXPECT_EQ(S_OK, ole->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, nullptr, 0, site.window(), nullptr));
    kv::ComPtr<IOleWindow> window;
    ASSERT_EQ(S_OK, ole.query(window));
    HWND none = nullptr;
    EXPECT_EQ(E_FAIL, window->GetWindow(&none));
    EXPECT_EQ(0, site.inPlaceActivations);
    window.reset();
    EXPECT_EQ(0u, ReleaseLast(ole));
}

TEST(InstallerQuickActivate, SetsTheSiteAndConnectsTheEventSink) {
    std::vector<std::string> journal;
    FakeEventSink sink("page", journal);
    FakeSite site;
    auto quick = NewInstaller<IQuickActivate>();
    QACONTAINER container{};
    container.cbSize = sizeof container;
    container.pClientSite = &site;
    container.pUnkEventSink = &sink;
    QACONTROL control{};
    control.cbSize = sizeof control;
    control.dwEventCookie = 0xdeadbeef;
    ASSERT_EQ(S_OK, quick->QuickActivate(&container, &control));
    EXPECT_EQ(sizeof control, control.cbSize);
    EXPECT_EQ(0x20191u, control.dwMiscStatus);
    EXPECT_EQ(static_cast<DWORD>(VIEWSTATUS_OPAQUE), control.dwViewStatus);
    EXPECT_EQ(1u, control.dwEventCookie);
    EXPECT_EQ(0u, control.dwPropNotifyCookie);

    kv::ComPtr<IOleObject> ole;
    ASSERT_EQ(S_OK, quick.query(ole));
    kv::ComPtr<IOleClientSite> given;
    ASSERT_EQ(S_OK, ole->GetClientSite(given.put()));
    EXPECT_EQ(static_cast<IOleClientSite*>(&site), given.get());
    given.reset();
    ASSERT_EQ(S_OK, ole->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, site.window(), nullptr));
    EXPECT_EQ((std::vector<std::string>{"page:1"}), journal);

    QACONTROL small{};
    small.cbSize = 4;
    EXPECT_EQ(E_INVALIDARG, quick->QuickActivate(&container, &small));
    EXPECT_EQ(E_POINTER, quick->QuickActivate(nullptr, &control));

    ole->Close(OLECLOSE_NOSAVE);
    ole->SetClientSite(nullptr);
    ole.reset();
    EXPECT_EQ(0u, ReleaseLast(quick));
}

TEST(InstallerView, ViewSinkHearsOfANewExtentWhileInactive) {
    auto view = NewInstaller<IViewObjectEx>();
    FakeAdviseSink sink;
    ASSERT_EQ(S_OK, view->SetAdvise(DVASPECT_CONTENT, ADVF_PRIMEFIRST, &sink));
    EXPECT_EQ(1, sink.viewChanges);
    kv::ComPtr<IOleObject> ole;
    ASSERT_EQ(S_OK, view.query(ole));
    SIZEL extent{3000, 2000};
    ASSERT_EQ(S_OK, ole->SetExtent(DVASPECT_CONTENT, &extent));
    EXPECT_EQ(2, sink.viewChanges);
    ASSERT_EQ(S_OK, ole->SetExtent(DVASPECT_CONTENT, &extent));  // the same: no news
    EXPECT_EQ(2, sink.viewChanges);
    SIZEL viewExtent{};
    EXPECT_EQ(S_OK, view->GetExtent(DVASPECT_CONTENT, -1, nullptr, &viewExtent));
    EXPECT_EQ(3000, viewExtent.cx);
    IAdviseSink* given = nullptr;
    DWORD aspects = 0, flags = 0;
    EXPECT_EQ(S_OK, view->GetAdvise(&aspects, &flags, &given));
    EXPECT_EQ(static_cast<IAdviseSink*>(&sink), given);
    EXPECT_EQ(static_cast<DWORD>(ADVF_PRIMEFIRST), flags);
    ASSERT_EQ(S_OK, view->SetAdvise(DVASPECT_CONTENT, 0, nullptr));
    ole.reset();
    EXPECT_EQ(0u, ReleaseLast(view));
}

TEST(InstallerView, DrawFillsTheBoundsWithTheDialogBackground) {
    auto view = NewInstaller<IViewObjectEx>();
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 16, 16);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    RECT all{0, 0, 16, 16};
    ::FillRect(memory, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    const RECTL bounds{2, 2, 10, 10};
    EXPECT_EQ(S_OK, view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, memory, &bounds,
                               nullptr, nullptr, 0));
    EXPECT_EQ(::GetNearestColor(memory, ::GetSysColor(COLOR_BTNFACE)), ::GetPixel(memory, 5, 5));
    EXPECT_EQ(RGB(0, 0, 0), ::GetPixel(memory, 12, 12));
    EXPECT_EQ(DV_E_DVASPECT, view->Draw(DVASPECT_ICON, -1, nullptr, nullptr, nullptr, memory,
                                        &bounds, nullptr, nullptr, 0));
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);

    DWORD status = 0;
    EXPECT_EQ(S_OK, view->GetViewStatus(&status));
    EXPECT_EQ(static_cast<DWORD>(VIEWSTATUS_OPAQUE), status);
    const RECT box{0, 0, 100, 100};
    DWORD hit = 0xdeadbeef;
    EXPECT_EQ(S_OK, view->QueryHitPoint(DVASPECT_CONTENT, &box, POINT{50, 50}, 0, &hit));
    EXPECT_EQ(static_cast<DWORD>(HITRESULT_HIT), hit);
    EXPECT_EQ(S_OK, view->QueryHitPoint(DVASPECT_CONTENT, &box, POINT{150, 50}, 0, &hit));
    EXPECT_EQ(static_cast<DWORD>(HITRESULT_OUTSIDE), hit);
    EXPECT_EQ(0u, ReleaseLast(view));
}
