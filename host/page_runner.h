// Runs one page the way a browser does: the event handlers are known before any control
// exists, controls are created and activated where the page places them, plain script
// blocks run in document order, then the window lives until the page closes it.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/dialog_answerer.h"
#include "host/host_options.h"
#include "host/host_window.h"
#include "host/hosted_control.h"
#include "host/inplace_frame.h"
#include "host/page_reader.h"
#include "host/script_engine.h"
#include "host/script_site.h"
#include "host/script_timers.h"

namespace kv::host {

// Exit statuses of the host.
enum HostExit : int {
    kExitOk = 0,
    kExitPageFailed = 1,   // a script error, or a control that could not be hosted
    kExitCannotRun = 2,    // bad arguments, unreadable page, no script engine
    kExitTimedOut = 3,
};

// The global function that carries the page's `index`th handler, for `event` of the
// object `objectId`.
std::wstring HandlerFunctionName(const std::wstring& objectId, const std::wstring& event, std::size_t index);

class PageRunner {
public:
    explicit PageRunner(HostOptions options) : options_(std::move(options)) {}
    PageRunner(const PageRunner&) = delete;
    PageRunner& operator=(const PageRunner&) = delete;
    ~PageRunner() { Close(); }

    int Run();

private:
    struct Handler {
        std::wstring objectId;
        std::wstring event;
        std::wstring function;
    };
    struct Control {
        std::wstring id;
        RECT position = {};
        HostedControl hosted;
        std::map<DISPID, std::vector<std::wstring>> handlers;  // event dispid -> functions
    };

    bool Start(const std::wstring& title);
    // The address the page answers its controls with: --url, or the page's file:/// address.
    std::wstring PageAddress() const;
    void DefineHandler(const PageScript& script);
    void AddControl(const PageObject& object);
    void ConnectHandlers(Control& control);
    void RunScript(const PageScript& script);
    void OnEvent(Control& control, DISPID event, DISPPARAMS* params);
    void RunTimer(const TimerCallback& callback);
    void ReportUnreportedFailure(HRESULT hr, EXCEPINFO& exception, unsigned errorsBefore, const std::wstring& what);
    HWND FirstControlWindow() const;
    void Alert(const std::wstring& text);
    void RequestClose();
    void ReportScriptError(const ScriptError& error);
    void Fail(const std::wstring& message);
    void PumpUntilClosed();
    bool TakesFocusBack(const MSG& message);
    void Close();

    HostOptions options_;
    std::optional<DialogAnswerer> answerer_;
    HostWindow window_;
    ComPtr<CInPlaceFrame> frame_;
    ComPtr<CScriptSite> scriptSite_;
    ScriptEngine engine_;
    std::optional<ScriptTimers> timers_;
    std::vector<Handler> handlers_;
    std::vector<std::unique_ptr<Control>> controls_;
    SIZE pageSize_ = {};
    LONG nextTop_ = 0;
    unsigned scriptErrors_ = 0;
    bool failed_ = false;
    bool closeRequested_ = false;
    bool timedOut_ = false;
};

}  // namespace kv::host
