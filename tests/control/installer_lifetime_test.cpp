// The control's lifetime around its transfers: a page may drop its last reference, or close
// the control, from a handler that runs while a transfer pumps the thread's messages. The
// object must outlive the call and go away right after it.
#include "installer_test_support.h"

#include "base/socket_library_scope.h"
#include "base/unique_resource.h"
#include "loopback_server.h"

#include <winsock2.h>

#include <shlobj.h>

#include <string>

namespace {

// A message-only window whose procedure runs inside a transfer's message pump.
HWND MessageWindow(const wchar_t* className, WNDPROC procedure) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className;
    ::RegisterClassW(&windowClass);
    return ::CreateWindowExW(0, className, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr);
}

// The server folder of the tests' own loopback server, as Init takes it.
std::wstring FolderUrl(const LoopbackServer& server) {
    const std::string url = server.Url("skins");
    return std::wstring(url.begin(), url.end());
}

// A window whose handler drops the page's reference to the control when its message comes.
struct Dropper {
    static constexpr UINT kDrop = WM_APP + 1;
    static IInstaller* held;
    static HRESULT unloadInHandler;

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == kDrop && held) {
            held->Release();
            held = nullptr;
            unloadInHandler = InstallerModule::Get().CanUnloadNow();
            return 0;
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
};
IInstaller* Dropper::held = nullptr;
HRESULT Dropper::unloadInHandler = E_UNEXPECTED;

std::wstring TempFolder() {
    wchar_t buffer[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, buffer);
    return buffer;
}

}  // namespace

TEST(InstallerLifetime, LastReleaseInsideInitsTransferWaitsForInitToReturn) {
    kv::SocketLibraryScope sockets;
    LoopbackServer server(std::string(200000, 'k'));
    HWND dropper = MessageWindow(L"KorvendalTestDropper", Dropper::Procedure);
    ASSERT_NE(nullptr, dropper);

    const std::wstring tag = L"kv-lifetime-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                             std::to_wstring(::GetTickCount());
    const std::wstring folder = TempFolder() + tag;
    const std::wstring archive = folder + L"\\life.zip";
    IInstaller* installer = nullptr;
    ASSERT_EQ(S_OK, InstallerModule::Get().Create(IID_IInstaller, reinterpret_cast<void**>(&installer)));
    kv::UniqueBstr base(tag.c_str()), info(L"life.zip"), url(FolderUrl(server).c_str()), file(L"file.bin");
    ASSERT_EQ(S_OK, installer->put_BasePath(base.get()));
    ASSERT_EQ(S_OK, installer->put_InfoFileName(info.get()));

    // The message waits in the queue until the transfer pumps it.
    Dropper::held = installer;
    ASSERT_TRUE(::PostMessageW(dropper, Dropper::kDrop, 0, 0));
    // The served archive is no skin: Init ends at its missing Config.ini, after the transfer.
    EXPECT_EQ(E_INVALIDARG, installer->Init(url.get(), file.get()));
    EXPECT_EQ(nullptr, Dropper::held) << "the transfer did not pump the thread's messages";
    EXPECT_EQ(S_FALSE, Dropper::unloadInHandler);  // still alive inside the call
    EXPECT_EQ(S_OK, InstallerModule::Get().CanUnloadNow());  // gone once Init returned
    EXPECT_GE(server.Requests(), 2);

    ::DestroyWindow(dropper);
    // The control made the base folder the current one.
    ::SetCurrentDirectoryW(TempFolder().c_str());
    WIN32_FILE_ATTRIBUTE_DATA data{};
    EXPECT_TRUE(::GetFileAttributesExW(archive.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(200000u, data.nFileSizeLow);
    ::DeleteFileW(archive.c_str());
    ::RemoveDirectoryW(folder.c_str());
}

namespace {

// A window whose handler calls back into the control while Init's transfer pumps messages.
struct Reenter {
    static constexpr UINT kCall = WM_APP + 2;
    static IInstaller* installer;
    static HRESULT init, basePath;
    static std::wstring initText, basePathText;

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message != kCall) return ::DefWindowProcW(window, message, wParam, lParam);
        kv::UniqueBstr url(L"http://127.0.0.1:9/elsewhere"), file(L"other.bin"), base(L"elsewhere");
        init = installer->Init(url.get(), file.get());
        initText = TakeErrorDescription();
        basePath = installer->put_BasePath(base.get());
        basePathText = TakeErrorDescription();
        return 0;
    }
};
IInstaller* Reenter::installer = nullptr;
HRESULT Reenter::init = E_UNEXPECTED;
HRESULT Reenter::basePath = E_UNEXPECTED;
std::wstring Reenter::initText, Reenter::basePathText;

}  // namespace

TEST(InstallerLifetime, InitAndThePropertiesAreRefusedWhileInitRuns) {
    kv::SocketLibraryScope sockets;
    LoopbackServer server(std::string(200000, 'k'));
    HWND caller = MessageWindow(L"KorvendalTestReenter", Reenter::Procedure);
    ASSERT_NE(nullptr, caller);
    const std::wstring tag = L"kv-reenter-" + std::to_wstring(::GetCurrentProcessId());
    auto installer = NewInstaller<IInstaller>();
    kv::UniqueBstr base(tag.c_str()), info(L"life.zip"), url(FolderUrl(server).c_str()), file(L"file.bin");
    ASSERT_EQ(S_OK, installer->put_BasePath(base.get()));
    ASSERT_EQ(S_OK, installer->put_InfoFileName(info.get()));
    kv::UniqueBstr before;
    ASSERT_EQ(S_OK, installer->get_BasePath(before.put()));

    Reenter::installer = installer.get();
    ASSERT_TRUE(::PostMessageW(caller, Reenter::kCall, 0, 0));
    // The outer Init goes on with its own values (and ends at the archive, which is no skin).
    EXPECT_EQ(E_INVALIDARG, installer->Init(url.get(), file.get()));
    EXPECT_EQ(E_FAIL, Reenter::init);
    EXPECT_EQ(E_FAIL, Reenter::basePath);
    EXPECT_NE(std::wstring::npos, Reenter::initText.find(L"Init이 끝나기 전에는")) << Reenter::initText;
    EXPECT_EQ(Reenter::initText, Reenter::basePathText);
    kv::UniqueBstr after;
    ASSERT_EQ(S_OK, installer->get_BasePath(after.put()));
    EXPECT_EQ(std::wstring(before.get()), std::wstring(after.get()));
    // Once Init has returned, the properties may change again.
    EXPECT_EQ(S_OK, installer->put_BasePath(base.get()));

    ::DestroyWindow(caller);
    ::SetCurrentDirectoryW(TempFolder().c_str());
    const std::wstring folder = TempFolder() + tag;
    ::DeleteFileW((folder + L"\\life.zip").c_str());
    ::RemoveDirectoryW(folder.c_str());
}

namespace {

// A window whose handler closes the control the way a page that navigates away does.
struct Closer {
    static constexpr UINT kClose = WM_APP + 3;
    static kv::ComPtr<IOleObject>* ole;

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message != kClose || !ole) return ::DefWindowProcW(window, message, wParam, lParam);
        (*ole)->Close(OLECLOSE_NOSAVE);
        (*ole)->SetClientSite(nullptr);
        ole->reset();
        return 0;
    }
};
kv::ComPtr<IOleObject>* Closer::ole = nullptr;

// A message box the control shows here would wait for a hand forever: each one is counted
// and closed at once.
int boxesShown = 0;
LRESULT CALLBACK CloseBoxes(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        char kind[16] = {};
        ::GetClassNameA(reinterpret_cast<HWND>(wParam), kind, sizeof kind);
        if (std::string(kind) == "#32770") {
            ++boxesShown;
            ::PostMessageA(reinterpret_cast<HWND>(wParam), WM_COMMAND, IDCANCEL, 0);
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

std::string DocumentsFile(const char* name) {
    char documents[MAX_PATH] = {};
    ::SHGetSpecialFolderPathA(nullptr, documents, CSIDL_PERSONAL, FALSE);
    return std::string(documents) + "\\" + name;
}

}  // namespace

TEST(InstallerLifetime, ClosingAndReleasingTheControlDuringATransferEndsItCleanly) {
    kv::SocketLibraryScope sockets;
    LoopbackServer server(std::string(200000, 'k'));
    // Left by a run that was cut short, a partial file would make start ask first.
    ::DeleteFileA(DocumentsFile("file.bin").c_str());
    kv::unique_hhook boxes(::SetWindowsHookExA(WH_CBT, CloseBoxes, nullptr, ::GetCurrentThreadId()));
    boxesShown = 0;
    HWND closer = MessageWindow(L"KorvendalTestCloser", Closer::Procedure);
    ASSERT_NE(nullptr, closer);
    FakeSite site;
    auto ole = NewInstaller<IOleObject>();
    ASSERT_EQ(S_OK, ole->SetClientSite(&site));
    ASSERT_EQ(S_OK, ole->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, site.window(), nullptr));
    HWND control = nullptr;
    {
        kv::ComPtr<IOleWindow> window;
        ASSERT_EQ(S_OK, ole.query(window));
        ASSERT_EQ(S_OK, window->GetWindow(&control));
        // The served archive is no skin, so Init fails at Config.ini, but the transfer
        // target is set and the start button works.
        kv::ComPtr<IInstaller> installer;
        ASSERT_EQ(S_OK, ole.query(installer));
        const std::wstring tag = L"kv-closer-" + std::to_wstring(::GetCurrentProcessId());
        kv::UniqueBstr base(tag.c_str()), info(L"life.zip"), url(FolderUrl(server).c_str()), file(L"file.bin");
        ASSERT_EQ(S_OK, installer->put_BasePath(base.get()));
        ASSERT_EQ(S_OK, installer->put_InfoFileName(info.get()));
        ASSERT_EQ(E_INVALIDARG, installer->Init(url.get(), file.get()));
    }
    const int before = server.Requests();

    Closer::ole = &ole;
    ASSERT_TRUE(::PostMessageW(closer, Closer::kClose, 0, 0));
    ::SendMessageW(control, WM_COMMAND, MAKEWPARAM(218, BN_CLICKED), 0);
    PumpPendingMessages();
    EXPECT_FALSE(ole);
    EXPECT_FALSE(::IsWindow(control));
    EXPECT_EQ(before + 2, server.Requests());  // the redirect probe and the one GET
    EXPECT_EQ(S_OK, InstallerModule::Get().CanUnloadNow());

    EXPECT_EQ(0, boxesShown);

    ::DestroyWindow(closer);
    ::DeleteFileA(DocumentsFile("file.bin").c_str());
    ::SetCurrentDirectoryW(TempFolder().c_str());
    const std::wstring folder = TempFolder() + L"kv-closer-" + std::to_wstring(::GetCurrentProcessId());
    ::DeleteFileW((folder + L"\\life.zip").c_str());
    ::RemoveDirectoryW(folder.c_str());
}
