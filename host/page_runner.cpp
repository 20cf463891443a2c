#include "host/page_runner.h"

#include <algorithm>
#include <cwctype>

#include "base/himetric.h"
#include "base/unique_resource.h"
#include "host/console.h"
#include "host/external_object.h"
#include "host/window_object.h"

namespace kv::host {
namespace {

constexpr wchar_t kWindowItem[] = L"window";
constexpr SIZE kMinimumPage = {320, 120};

std::wstring HexResult(HRESULT hr) {
    wchar_t text[16];
    wsprintfW(text, L"0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
    unique_hfile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > (64 << 20)) return false;
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    return bytes.empty() ||
           (::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
            read == bytes.size());
}

std::wstring FileNamePart(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/:");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::wstring PageRunner::PageAddress() const {
    if (!options_.url.empty()) return options_.url;
    wchar_t full[MAX_PATH * 2];
    const DWORD length = ::GetFullPathNameW(options_.page.c_str(), MAX_PATH * 2, full, nullptr);
    return FileUrlOfPath(length > 0 && length < MAX_PATH * 2 ? std::wstring(full, length) : options_.page);
}

std::wstring HandlerFunctionName(const std::wstring& objectId, const std::wstring& event, std::size_t index) {
    std::wstring name = L"__korvendal_on_" + objectId + L"_" + event + L"_" + std::to_wstring(index);
    std::replace_if(name.begin(), name.end(), [](wchar_t c) { return !std::iswalnum(c) && c != L'_'; }, L'_');
    return name;
}

int PageRunner::Run() {
    std::string bytes;
    if (!ReadWholeFile(options_.page, bytes)) {
        WriteLine(STD_ERROR_HANDLE, L"cannot read the page " + options_.page);
        return kExitCannotRun;
    }
    const Page page = ReadPage(DecodePageBytes(bytes));
    if (options_.headless) {
        // Nobody is at the screen to answer a dialog: the command line does.
        answerer_.emplace(options_.answers,
                          DialogAnswerer::Output{[](const std::wstring& line) { WriteLine(STD_OUTPUT_HANDLE, line); },
                                                 [this](const std::wstring& problem) { Fail(problem); }});
        const HRESULT hr = answerer_->Start();
        if (FAILED(hr)) {
            WriteLine(STD_ERROR_HANDLE, L"cannot watch for dialogs: " + HexResult(hr));
            return kExitCannotRun;
        }
    }
    if (!Start(FileNamePart(options_.page))) return kExitCannotRun;

    // Handlers are plain function definitions: known before any control exists, so an
    // event fired during activation (OnCreate) already finds its handler.
    for (const PageScript& script : page.scripts) {
        if (script.IsHandler()) DefineHandler(script);
    }
    // Then the page in document order: controls where they stand, blocks as they come.
    std::size_t nextObject = 0;
    for (const PageScript& script : page.scripts) {
        while (!closeRequested_ && nextObject < page.objects.size() &&
               page.objects[nextObject].position < script.position) {
            AddControl(page.objects[nextObject++]);
        }
        if (closeRequested_) break;
        if (!script.IsHandler()) RunScript(script);
    }
    while (!closeRequested_ && nextObject < page.objects.size()) AddControl(page.objects[nextObject++]);

    PumpUntilClosed();
    Close();
    if (timedOut_) return kExitTimedOut;
    return failed_ || scriptErrors_ > 0 ? kExitPageFailed : kExitOk;
}

bool PageRunner::Start(const std::wstring& title) {
    HRESULT hr = window_.Create(L"Korvendal - " + title,
                                HostWindow::Events{[this] { RequestClose(); },
                                                   [this] {
                                                       timedOut_ = true;
                                                       RequestClose();
                                                   },
                                                   [this](UINT_PTR timerId) {
                                                       if (timers_) timers_->OnTimer(timerId);
                                                   }});
    if (FAILED(hr)) {
        WriteLine(STD_ERROR_HANDLE, L"cannot create the host window: " + HexResult(hr));
        return false;
    }
    pageSize_ = kMinimumPage;
    window_.Show(pageSize_);
    if (options_.timeoutSeconds > 0) window_.StartTimeout(options_.timeoutSeconds);
    frame_ = CInPlaceFrame::Create(window_.Handle());

    scriptSite_ = CScriptSite::Create(window_.Handle(), [this](const ScriptError& error) { ReportScriptError(error); });
    timers_.emplace(window_.Handle(), [this](const TimerCallback& callback) { RunTimer(callback); });
    const auto external = CExternalObject::Create(
        [this] { return FirstControlWindow(); },
        [this] { return controls_.empty() ? E_FAIL : controls_.front()->hosted.TakeFocus(); });
    const auto windowObject = CWindowObject::Create(
        WindowActions{[this](const std::wstring& text) { Alert(text); }, [this] { RequestClose(); },
                      [this](TimerCallback callback, long milliseconds) {
                          return timers_->Set(std::move(callback), milliseconds);
                      },
                      [this](long id) { timers_->Clear(id); }, ComPtr<IDispatch>(external.get())});
    scriptSite_->AddItem(kWindowItem, ComPtr<IUnknown>(static_cast<IDispatch*>(windowObject.get())), nullptr);
    hr = engine_.Start(scriptSite_);
    if (SUCCEEDED(hr)) hr = engine_.AddNamedItem(kWindowItem, SCRIPTITEM_ISVISIBLE | SCRIPTITEM_GLOBALMEMBERS);
    if (FAILED(hr)) {
        WriteLine(STD_ERROR_HANDLE, L"cannot start the JScript engine: " + HexResult(hr));
        return false;
    }
    return true;
}

void PageRunner::DefineHandler(const PageScript& script) {
    if (!IsJScriptLanguage(script.language)) {
        Fail(L"script language " + script.language + L" is not supported (handler for " + script.forObject + L")");
        return;
    }
    const EventSignature signature = ParseEventSignature(script.event);
    const std::wstring function = HandlerFunctionName(script.forObject, signature.name, handlers_.size());
    std::wstring parameters;
    for (const std::wstring& parameter : signature.parameters) {
        parameters += (parameters.empty() ? L"" : L", ") + parameter;
    }
    // The body stays on its own lines, so errors in it carry the page's line numbers. A
    // handler that does not compile has been reported and is not bound.
    const std::wstring definition = L"function " + function + L"(" + parameters + L") {" + script.text + L"\n}";
    if (SUCCEEDED(engine_.Run(definition, script.line))) {
        handlers_.push_back(Handler{script.forObject, signature.name, function});
    }
}

void PageRunner::AddControl(const PageObject& object) {
    const std::wstring name = object.id.empty() ? L"(object without id)" : object.id;
    CLSID clsid;
    if (FAILED(HostedControl::ParseClassId(object.classId, clsid))) {
        Fail(L"object " + name + L": classid \"" + object.classId + L"\" is not of the form clsid:GUID");
        return;
    }
    auto control = std::make_unique<Control>();
    control->id = object.id;
    // Controls stand one below the other, at the size the page gives them. As in a browser
    // that scales its pages to the screen, a page's pixel is dpi / 96 of the screen's.
    const int dpi = kv::PixelsPerInchOfWindow(nullptr).x;
    control->position = {0, nextTop_, ::MulDiv(object.width, dpi, 96), nextTop_ + ::MulDiv(object.height, dpi, 96)};
    auto site = CClientSite::Create(window_.Handle(), frame_, control->position, object.id, PageAddress());
    HRESULT hr = control->hosted.Create(clsid, site);
    if (FAILED(hr)) {
        Fail(L"object " + name + L": cannot create " + object.classId + L": " + HexResult(hr));
        return;
    }
    // A browser would neither initialise nor script a control that refuses these.
    if (FAILED(control->hosted.DataSafety()))
        WriteLine(STD_OUTPUT_HANDLE, L"UNSAFE " + name + L" data " + HexResult(control->hosted.DataSafety()));
    if (FAILED(control->hosted.CallerSafety()))
        WriteLine(STD_OUTPUT_HANDLE, L"UNSAFE " + name + L" scripting " + HexResult(control->hosted.CallerSafety()));
    // A size the page leaves out is the control's own extent, as in a browser.
    const SIZE natural = control->hosted.NaturalSize();
    if (object.width == 0) control->position.right = control->position.left + natural.cx;
    if (object.height == 0) control->position.bottom = control->position.top + natural.cy;
    site->SetPosition(control->position);
    nextTop_ = control->position.bottom;
    pageSize_.cx = std::max(pageSize_.cx, control->position.right);
    pageSize_.cy = std::max(pageSize_.cy, nextTop_);
    window_.Show(pageSize_);

    if (!object.id.empty()) {
        scriptSite_->AddItem(object.id, control->hosted.Unknown(), control->hosted.ClassInfo());
        hr = engine_.AddNamedItem(object.id, SCRIPTITEM_ISVISIBLE);
        if (FAILED(hr)) Fail(L"object " + name + L": cannot name it in script: " + HexResult(hr));
        ConnectHandlers(*control);
    }
    Control& added = *control;
    controls_.push_back(std::move(control));
    hr = added.hosted.Activate();
    if (FAILED(hr)) Fail(L"object " + name + L": in-place activation failed: " + HexResult(hr));
}

void PageRunner::ConnectHandlers(Control& control) {
    IID eventInterface = IID_NULL;
    ComPtr<ITypeInfo> events;
    for (const Handler& handler : handlers_) {
        if (handler.objectId != control.id) continue;
        if (!events && FAILED(control.hosted.GetEventInterface(eventInterface, events))) {
            Fail(L"object " + control.id + L" has handlers but offers no event interface");
            return;
        }
        LPOLESTR eventName = const_cast<LPOLESTR>(handler.event.c_str());
        MEMBERID id = MEMBERID_NIL;
        if (FAILED(events->GetIDsOfNames(&eventName, 1, &id))) {
            Fail(L"object " + control.id + L" has no event " + handler.event);
            continue;
        }
        control.handlers[id].push_back(handler.function);
    }
    if (control.handlers.empty()) return;
    Control* target = &control;
    auto sink = CEventSink::Create(eventInterface,
                                   [this, target](DISPID event, DISPPARAMS* params) { OnEvent(*target, event, params); });
    const HRESULT hr = control.hosted.Advise(eventInterface, sink);
    if (FAILED(hr)) Fail(L"object " + control.id + L": cannot connect to its events: " + HexResult(hr));
}

void PageRunner::RunScript(const PageScript& script) {
    if (!IsJScriptLanguage(script.language)) {
        Fail(L"script language " + script.language + L" is not supported (block at line " +
             std::to_wstring(script.line) + L")");
        return;
    }
    engine_.Run(script.text, script.line);
}

void PageRunner::OnEvent(Control& control, DISPID event, DISPPARAMS* params) {
    const auto found = control.handlers.find(event);
    if (found == control.handlers.end()) return;
    for (const std::wstring& function : found->second) {
        const unsigned errorsBefore = scriptErrors_;
        EXCEPINFO exception = {};
        const HRESULT hr = engine_.Call(function, params, &exception);
        ReportUnreportedFailure(hr, exception, errorsBefore, L"handler " + function);
    }
}

void PageRunner::RunTimer(const TimerCallback& callback) {
    // The page is on its way out: nothing of it runs any more.
    if (closeRequested_) return;
    if (!callback.function) {
        engine_.Run(callback.code, 0);
        return;
    }
    const unsigned errorsBefore = scriptErrors_;
    DISPPARAMS none = {};
    VARIANT result;
    ::VariantInit(&result);
    EXCEPINFO exception = {};
    const HRESULT hr = callback.function->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none,
                                                 &result, &exception, nullptr);
    ::VariantClear(&result);
    ReportUnreportedFailure(hr, exception, errorsBefore, L"a timer's callback");
}

void PageRunner::ReportUnreportedFailure(HRESULT hr, EXCEPINFO& exception, unsigned errorsBefore,
                                         const std::wstring& what) {
    // Some engines report an exception of a function the host calls only to the caller,
    // not to the site.
    if (FAILED(hr) && scriptErrors_ == errorsBefore) {
        if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
        ScriptError error;
        error.description = exception.bstrDescription
                                ? std::wstring(exception.bstrDescription, ::SysStringLen(exception.bstrDescription))
                                : what + L" failed: " + HexResult(hr);
        ReportScriptError(error);
    }
    ::SysFreeString(exception.bstrSource);
    ::SysFreeString(exception.bstrDescription);
    ::SysFreeString(exception.bstrHelpFile);
}

HWND PageRunner::FirstControlWindow() const {
    return controls_.empty() ? nullptr : controls_.front()->hosted.Window();
}

void PageRunner::Alert(const std::wstring& text) {
    if (options_.headless) {
        WriteLine(STD_OUTPUT_HANDLE, text);
    } else {
        ::MessageBoxW(window_.Handle(), text.c_str(), L"Korvendal", MB_OK | MB_ICONINFORMATION);
    }
}

void PageRunner::RequestClose() {
    closeRequested_ = true;
    window_.Wake();
}

void PageRunner::ReportScriptError(const ScriptError& error) {
    ++scriptErrors_;
    std::wstring where = L"script error";
    if (error.line > 0) {
        where += L" (line " + std::to_wstring(error.line) + L", column " + std::to_wstring(error.column) + L")";
    }
    WriteLine(STD_ERROR_HANDLE, where + L": " + error.description);
}

void PageRunner::Fail(const std::wstring& message) {
    failed_ = true;
    WriteLine(STD_ERROR_HANDLE, message);
}

bool PageRunner::TakesFocusBack(const MSG& message) {
    // A Tab the control leaves alone moves on to the page, as in a browser: here the page is
    // the host window itself.
    if (message.message != WM_KEYDOWN || message.wParam != VK_TAB) return false;
    const HWND focus = ::GetFocus();
    if (!focus || focus == window_.Handle() || !::IsChild(window_.Handle(), focus)) return false;
    ::SetFocus(window_.Handle());
    return true;
}

void PageRunner::PumpUntilClosed() {
    MSG message;
    while (!closeRequested_ && ::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST &&
            std::any_of(controls_.begin(), controls_.end(),
                        [&message](const auto& control) { return control->hosted.TranslateAccelerator(message); })) {
            continue;
        }
        if (TakesFocusBack(message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    if (timedOut_) WriteLine(STD_ERROR_HANDLE, L"the page did not close within " + std::to_wstring(options_.timeoutSeconds) + L" seconds");
}

void PageRunner::Close() {
    // Pending timers hold functions of the script: they go before the engine. The
    // controls go first, while the frame window they live in still exists; the engine
    // goes next, since it holds the controls' named items; the window last.
    if (timers_) timers_->ClearAll();
    for (auto& control : controls_) control->hosted.Close();
    engine_.Close();
    if (scriptSite_) scriptSite_->Clear();
    controls_.clear();
    scriptSite_.reset();
    frame_.reset();
}

}  // namespace kv::host
