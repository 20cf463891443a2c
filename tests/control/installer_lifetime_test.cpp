// The control's lifetime around Init: a page may drop its last reference from a handler that
// runs while Init's archive transfer pumps the thread's messages. The object must outlive the
// call and go away right after it.
#include "installer_test_support.h"

#include <winsock2.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

namespace {

// An HTTP server of the test's own on loopback: every request gets the same 200 answer and
// the connection closed. It serves a bounded number of connections and stops by itself.
class LoopbackHttpServer {
public:
    explicit LoopbackHttpServer(std::string body) : body_(std::move(body)) {
        WSADATA data;
        ::WSAStartup(0x0202, &data);
        listener_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listener_, 4);
        int length = sizeof address;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~LoopbackHttpServer() {
        stop_ = true;
        thread_.join();
        ::closesocket(listener_);
        ::WSACleanup();
    }
    std::wstring Url() const { return L"http://127.0.0.1:" + std::to_wstring(port_) + L"/skins"; }
    int served() const { return served_; }

private:
    void Serve() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!stop_ && served_ < 8 && std::chrono::steady_clock::now() < deadline) {
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(listener_, &readable);
            timeval wait{0, 100000};
            if (::select(0, &readable, nullptr, nullptr, &wait) != 1) continue;
            SOCKET client = ::accept(listener_, nullptr, nullptr);
            if (client == INVALID_SOCKET) continue;
            DWORD timeout = 5000;
            ::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
                         sizeof timeout);
            std::string request;
            char block[1024];
            int count = 0;
            while (request.find("\r\n\r\n") == std::string::npos &&
                   (count = ::recv(client, block, sizeof block, 0)) > 0) {
                request.append(block, count);
            }
            const std::string reply = "HTTP/1.1 200 OK\r\nContent-Length: " +
                                      std::to_string(body_.size()) + "\r\n\r\n" + body_;
            ::send(client, reply.data(), static_cast<int>(reply.size()), 0);
            ::shutdown(client, SD_SEND);
            ::closesocket(client);
            ++served_;
        }
    }

    std::string body_;
    SOCKET listener_ = INVALID_SOCKET;
    unsigned short port_ = 0;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<int> served_{0};
};

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
    LoopbackHttpServer server(std::string(200000, 'k'));
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Dropper::Procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"KorvendalTestDropper";
    ::RegisterClassW(&windowClass);
    HWND dropper = ::CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0,
                                     HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(nullptr, dropper);

    const std::wstring tag = L"kv-lifetime-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                             std::to_wstring(::GetTickCount());
    const std::wstring folder = TempFolder() + tag;
    const std::wstring archive = folder + L"\\life.zip";
    IInstaller* installer = nullptr;
    ASSERT_EQ(S_OK, InstallerModule::Get().Create(IID_IInstaller, reinterpret_cast<void**>(&installer)));
    kv::UniqueBstr base(tag.c_str()), info(L"life.zip"), url(server.Url().c_str()), file(L"file.bin");
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
    EXPECT_GE(server.served(), 2);

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
    LoopbackHttpServer server(std::string(200000, 'k'));
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Reenter::Procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"KorvendalTestReenter";
    ::RegisterClassW(&windowClass);
    HWND caller = ::CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                    nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(nullptr, caller);
    const std::wstring tag = L"kv-reenter-" + std::to_wstring(::GetCurrentProcessId());
    auto installer = NewInstaller<IInstaller>();
    kv::UniqueBstr base(tag.c_str()), info(L"life.zip"), url(server.Url().c_str()), file(L"file.bin");
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
