// The connection point for _IInstallerEvents: cookies, slots, and the order in which the
// events reach the connected sinks.
#include "installer_test_support.h"

#include "control/download/controller_messages.h"

#include <olectl.h>

namespace {

kv::ComPtr<IConnectionPoint> EventsPoint(const kv::ComPtr<IConnectionPointContainer>& container) {
    kv::ComPtr<IConnectionPoint> point;
    EXPECT_EQ(S_OK, container->FindConnectionPoint(DIID__IInstallerEvents, point.put()));
    return point;
}

}  // namespace

TEST(InstallerEvents, OffersOneConnectionPoint) {
    auto container = NewInstaller<IConnectionPointContainer>();
    kv::ComPtr<IConnectionPoint> point = EventsPoint(container);
    ASSERT_TRUE(point);
    IID iid{};
    EXPECT_EQ(S_OK, point->GetConnectionInterface(&iid));
    EXPECT_TRUE(iid == DIID__IInstallerEvents);
    kv::ComPtr<IConnectionPointContainer> back;
    EXPECT_EQ(S_OK, point->GetConnectionPointContainer(back.put()));
    EXPECT_EQ(container.get(), back.get());
    back.reset();

    IConnectionPoint* other = reinterpret_cast<IConnectionPoint*>(0xdeadbeef);
    EXPECT_EQ(CONNECT_E_NOCONNECTION, container->FindConnectionPoint(IID_IPropertyNotifySink, &other));
    EXPECT_EQ(nullptr, other);
    point.reset();
    EXPECT_EQ(0u, ReleaseLast(container));
}

TEST(InstallerEvents, CookiesNameSlotsAndFreedSlotsAreReused) {
    std::vector<std::string> journal;
    FakeEventSink a("a", journal), b("b", journal), c("c", journal), d("d", journal);
    auto container = NewInstaller<IConnectionPointContainer>();
    kv::ComPtr<IConnectionPoint> point = EventsPoint(container);
    DWORD cookie = 0xdeadbeef;
    ASSERT_EQ(S_OK, point->Advise(&a, &cookie));
    EXPECT_EQ(1u, cookie);
    ASSERT_EQ(S_OK, point->Advise(&b, &cookie));
    EXPECT_EQ(2u, cookie);
    EXPECT_EQ(S_OK, point->Unadvise(1));
    ASSERT_EQ(S_OK, point->Advise(&c, &cookie));
    EXPECT_EQ(1u, cookie);
    ASSERT_EQ(S_OK, point->Advise(&d, &cookie));
    EXPECT_EQ(3u, cookie);

    EXPECT_EQ(S_OK, point->Unadvise(2));
    EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(2));
    EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(0));
    EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(4));
    EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(0xffffffff));
    EXPECT_EQ(S_OK, point->Unadvise(1));
    EXPECT_EQ(S_OK, point->Unadvise(3));
    EXPECT_TRUE(journal.empty());
    point.reset();
    EXPECT_EQ(0u, ReleaseLast(container));
}

TEST(InstallerEvents, RefusesSinksWithoutTheEventInterface) {
    std::vector<std::string> journal;
    FakeEventSink plain("plain", journal);
    plain.answersEvents = false;
    auto container = NewInstaller<IConnectionPointContainer>();
    kv::ComPtr<IConnectionPoint> point = EventsPoint(container);
    DWORD cookie = 0xdeadbeef;
    EXPECT_EQ(CONNECT_E_CANNOTCONNECT, point->Advise(&plain, &cookie));
    EXPECT_EQ(0u, cookie);
    EXPECT_EQ(E_POINTER, point->Advise(nullptr, &cookie));
    point.reset();
    EXPECT_EQ(0u, ReleaseLast(container));
}

TEST(InstallerEvents, SinksHearOnCreateAndOnCloseInCookieOrder) {
    std::vector<std::string> journal;
    FakeEventSink first("first", journal), second("second", journal), third("third", journal);
    FakeSite site;
    auto ole = NewInstaller<IOleObject>();
    kv::ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(S_OK, ole.query(container));
    kv::ComPtr<IConnectionPoint> point = EventsPoint(container);
    DWORD cookie = 0;
    ASSERT_EQ(S_OK, point->Advise(&first, &cookie));
    ASSERT_EQ(S_OK, point->Advise(&second, &cookie));
    ASSERT_EQ(S_OK, point->Unadvise(1));
    ASSERT_EQ(S_OK, point->Advise(&third, &cookie));  // takes slot 1, before "second"
    ASSERT_EQ(1u, cookie);

    // A page calls Init from OnCreate: the window must already be known to the control then.
    kv::ComPtr<IOleWindow> window;
    ASSERT_EQ(S_OK, ole.query(window));
    HWND seenInOnCreate = nullptr;
    third.onEvent = [&](DISPID id) {
        if (id == 1) window->GetWindow(&seenInOnCreate);
    };

    ASSERT_EQ(S_OK, ole->SetClientSite(&site));
    ASSERT_EQ(S_OK, ole->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, site.window(), nullptr));
    EXPECT_EQ((std::vector<std::string>{"third:1", "second:1"}), journal);

    HWND control = nullptr;
    ASSERT_EQ(S_OK, window->GetWindow(&control));
    EXPECT_EQ(control, seenInOnCreate);
    journal.clear();
    ASSERT_TRUE(::PostMessageW(control, WM_INSTALLER_CLOSE, 0, 0));
    PumpPendingMessages();
    EXPECT_EQ((std::vector<std::string>{"third:2", "second:2"}), journal);

    EXPECT_EQ(S_OK, ole->Close(OLECLOSE_NOSAVE));
    EXPECT_EQ(S_OK, ole->SetClientSite(nullptr));
    window.reset();
    point.reset();
    container.reset();
    EXPECT_EQ(0u, ReleaseLast(ole));
}

TEST(InstallerEvents, EnumeratesItsPointAndTheConnectedSinks) {
    std::vector<std::string> journal;
    FakeEventSink a("a", journal), b("b", journal);
    auto container = NewInstaller<IConnectionPointContainer>();
    kv::ComPtr<IConnectionPoint> point = EventsPoint(container);

    kv::ComPtr<IEnumConnectionPoints> points;
    ASSERT_EQ(S_OK, container->EnumConnectionPoints(points.put()));
    IConnectionPoint* found[2] = {nullptr, nullptr};
    ULONG fetched = 7;
    EXPECT_EQ(S_FALSE, points->Next(2, found, &fetched));
    EXPECT_EQ(1u, fetched);
    EXPECT_EQ(point.get(), found[0]);
    if (found[0]) found[0]->Release();
    EXPECT_EQ(S_FALSE, points->Next(1, found, nullptr));
    points.reset();

    DWORD cookie = 0;
    ASSERT_EQ(S_OK, point->Advise(&a, &cookie));
    ASSERT_EQ(S_OK, point->Advise(&b, &cookie));
    ASSERT_EQ(S_OK, point->Unadvise(1));
    kv::ComPtr<IEnumConnections> connections;
    ASSERT_EQ(S_OK, point->EnumConnections(connections.put()));
    // Sinks connected later do not show in a snapshot taken before.
    ASSERT_EQ(S_OK, point->Advise(&a, &cookie));
    CONNECTDATA data[3] = {};
    EXPECT_EQ(S_FALSE, connections->Next(3, data, &fetched));
    ASSERT_EQ(1u, fetched);
    EXPECT_EQ(2u, data[0].dwCookie);
    EXPECT_EQ(static_cast<IUnknown*>(static_cast<IDispatch*>(&b)), data[0].pUnk);
    data[0].pUnk->Release();

    EXPECT_EQ(S_OK, connections->Reset());
    kv::ComPtr<IEnumConnections> clone;
    ASSERT_EQ(S_OK, connections->Clone(clone.put()));
    EXPECT_EQ(S_OK, clone->Skip(1));
    EXPECT_EQ(S_FALSE, clone->Skip(1));
    EXPECT_EQ(S_OK, connections->Next(1, data, nullptr));
    data[0].pUnk->Release();
    clone.reset();
    connections.reset();

    point.reset();
    EXPECT_EQ(0u, ReleaseLast(container));
    EXPECT_EQ(S_OK, InstallerModule::Get().CanUnloadNow());  // the enumerators are gone too
}

TEST(InstallerEvents, AHandlerMayDropTheLastReferenceToTheControl) {
    std::vector<std::string> journal;
    FakeEventSink first("first", journal), second("second", journal);
    FakeSite site;
    auto ole = NewInstaller<IOleObject>();
    kv::ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(S_OK, ole.query(container));
    kv::ComPtr<IConnectionPoint> point = EventsPoint(container);
    container.reset();
    DWORD cookie = 0;
    ASSERT_EQ(S_OK, point->Advise(&first, &cookie));
    ASSERT_EQ(S_OK, point->Advise(&second, &cookie));
    point.reset();
    ASSERT_EQ(S_OK, ole->SetClientSite(&site));
    ASSERT_EQ(S_OK, ole->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, site.window(), nullptr));
    HWND control = nullptr;
    kv::ComPtr<IOleWindow> window;
    ASSERT_EQ(S_OK, ole.query(window));
    ASSERT_EQ(S_OK, window->GetWindow(&control));
    window.reset();

    // The page closes and forgets the control when it hears OnClose.
    first.onEvent = [&](DISPID id) {
        if (id != 2) return;
        ole->Close(OLECLOSE_NOSAVE);
        ole->SetClientSite(nullptr);
        ole.reset();
    };
    ASSERT_TRUE(::PostMessageW(control, WM_INSTALLER_CLOSE, 0, 0));
    PumpPendingMessages();
    // The event still reaches every sink, and the control is gone afterwards.
    EXPECT_EQ((std::vector<std::string>{"first:1", "second:1", "first:2", "second:2"}), journal);
    EXPECT_FALSE(::IsWindow(control));
    EXPECT_EQ(S_OK, InstallerModule::Get().CanUnloadNow());
}

TEST(InstallerEvents, AnOnCreateHandlerThatClosesTheControlEndsTheActivationCleanly) {
    for (const LONG verb : {OLEIVERB_PRIMARY, OLEIVERB_UIACTIVATE, OLEIVERB_SHOW}) {
        std::vector<std::string> journal;
        FakeEventSink sink("sink", journal);
        FakeSite site;
        auto ole = NewInstaller<IOleObject>();
        kv::ComPtr<IConnectionPointContainer> container;
        ASSERT_EQ(S_OK, ole.query(container));
        kv::ComPtr<IConnectionPoint> point = EventsPoint(container);
        DWORD cookie = 0;
        ASSERT_EQ(S_OK, point->Advise(&sink, &cookie));
        // The page closes the control and drops its site as soon as the window exists.
        sink.onEvent = [&](DISPID id) {
            if (id != 1) return;
            ole->Close(OLECLOSE_NOSAVE);
            ole->SetClientSite(nullptr);
        };
        ASSERT_EQ(S_OK, ole->SetClientSite(&site));
        EXPECT_TRUE(FAILED(ole->DoVerb(verb, nullptr, &site, 0, site.window(), nullptr)));
        EXPECT_EQ(0, site.uiActivations);
        EXPECT_EQ(0, site.shows);
        point->Unadvise(cookie);
        point.reset();
        container.reset();
        EXPECT_EQ(0u, ReleaseLast(ole));
    }
}
