// korvendal-host.exe: runs a page that embeds ActiveX controls, standing in for the
// browser. Usage: korvendal-host.exe PAGE [--headless [--answer VALUE]...] [--timeout SECONDS] [--url URL]
#include "base/socket_library_scope.h"

#include <winsock2.h>
#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "host/console.h"
#include "host/host_options.h"
#include "host/page_runner.h"

namespace {

class OleApartment {
public:
    OleApartment() : result_(::OleInitialize(nullptr)) {}
    ~OleApartment() {
        if (SUCCEEDED(result_)) ::OleUninitialize();
    }
    OleApartment(const OleApartment&) = delete;
    OleApartment& operator=(const OleApartment&) = delete;
    HRESULT Result() const { return result_; }

private:
    HRESULT result_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    using namespace kv::host;
    const std::vector<std::wstring> args(argv + 1, argv + argc);
    HostOptions options;
    std::wstring error;
    if (!ParseHostOptions(args, options, error)) {
        WriteLine(STD_ERROR_HANDLE, L"korvendal-host: " + error);
        WriteLine(STD_ERROR_HANDLE, L"usage: korvendal-host.exe PAGE [--headless [--answer VALUE]...] [--timeout SECONDS] [--url URL]");
        return kExitCannotRun;
    }
    // A browser draws its pages at the screen's own resolution, so the host sees the
    // screen's real pixels per inch and not a 96 dpi screen stretched by the system.
    ::SetProcessDPIAware();
    OleApartment apartment;
    if (FAILED(apartment.Result())) {
        WriteLine(STD_ERROR_HANDLE, L"korvendal-host: OleInitialize failed");
        return kExitCannotRun;
    }
    kv::SocketLibraryScope sockets;
    PageRunner runner(options);
    return runner.Run();
}
