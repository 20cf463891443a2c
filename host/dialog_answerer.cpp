#include "host/dialog_answerer.h"

#include <shlobj.h>

#include "base/result.h"
#include "host/window_text.h"

namespace kv::host {
namespace {

// The hook procedure has no context of its own; it finds the answerer of its thread here.
thread_local DialogAnswerer* tAnswerer = nullptr;

// The static that carries a message box's text, and the one that carries the title of
// the shell's folder dialog.
constexpr int kBoxTextId = 0xFFFF;
constexpr int kFolderTitleId = 14146;

// Only the page's own dialogs are answered: tests run side by side on one desktop, and a
// box another program shows is none of this page's business.
bool IsOwnWindow(HWND window) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    return process == ::GetCurrentProcessId();
}

bool IsDialogClass(HWND window) {
    wchar_t name[16] = {};
    return ::GetClassNameW(window, name, 16) > 0 && std::wstring(name) == L"#32770";
}

// A box's text may run over several lines; the report stays on one.
std::wstring OnOneLine(const std::wstring& text) {
    std::wstring line;
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text[k] == L'\r' && k + 1 < text.size() && text[k + 1] == L'\n') continue;
        if (text[k] == L'\r' || text[k] == L'\n') {
            line += L"\\n";
        } else {
            line += text[k];
        }
    }
    return line;
}

int ButtonFor(const std::wstring& answer) {
    struct Reply {
        const wchar_t* word;
        int id;
    };
    static constexpr Reply kReplies[] = {{L"yes", IDYES}, {L"no", IDNO}, {L"ok", IDOK}, {L"cancel", IDCANCEL}};
    for (const Reply& reply : kReplies) {
        if (::CompareStringOrdinal(answer.c_str(), -1, reply.word, -1, TRUE) == CSTR_EQUAL) return reply.id;
    }
    return 0;
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

DialogAnswerer::~DialogAnswerer() {
    hook_.reset();
    if (tAnswerer == this) tAnswerer = nullptr;
}

HRESULT DialogAnswerer::Start() {
    RETURN_HR_IF(E_UNEXPECTED, tAnswerer != nullptr);
    hook_.reset(::SetWindowsHookExW(WH_CBT, &DialogAnswerer::CbtProc, nullptr, ::GetCurrentThreadId()));
    RETURN_LAST_ERROR_IF_NULL(hook_.get());
    tAnswerer = this;
    return S_OK;
}

LRESULT CALLBACK DialogAnswerer::CbtProc(int code, WPARAM wParam, LPARAM lParam) {
    DialogAnswerer* self = tAnswerer;
    if (self) {
        const HWND window = reinterpret_cast<HWND>(wParam);
        if (code == HCBT_ACTIVATE) {
            self->OnActivate(window);
        } else if (code == HCBT_DESTROYWND) {
            self->answered_.erase(window);
        }
    }
    return ::CallNextHookEx(self ? self->hook_.get() : nullptr, code, wParam, lParam);
}

void DialogAnswerer::OnActivate(HWND window) {
    if (answered_.count(window) || !IsOwnWindow(window) || !IsDialogClass(window)) return;
    // The folder dialog has a static of its own for its title; a box has its text.
    if (const HWND title = ::GetDlgItem(window, kFolderTitleId)) {
        answered_.insert(window);
        AnswerFolder(window, title);
    } else if (::GetDlgItem(window, kBoxTextId)) {
        answered_.insert(window);
        AnswerBox(window);
    }
}

void DialogAnswerer::AnswerBox(HWND box) {
    const std::wstring text = WindowText(::GetDlgItem(box, kBoxTextId));
    output_.told(L"BOX " + WindowText(box) + L"|" + OnOneLine(text));
    // Posted: the box is activated while it initialises, and answers once its own loop
    // runs. The buttons it does not show are gone already, but it marks its default
    // button only after this, so the default is taken as a user takes it: with Enter.
    std::wstring answer;
    if (NextAnswer(answer)) {
        const int chosen = ButtonFor(answer);
        if (chosen != 0 && ::GetDlgItem(box, chosen)) {
            ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(chosen, BN_CLICKED), 0);
            return;
        }
        output_.misfit(L"the answer \"" + answer + L"\" fits no button of the box \"" + OnOneLine(text) +
                       L"\"; it takes its default button");
    }
    ::PostMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
}

void DialogAnswerer::AnswerFolder(HWND dialog, HWND title) {
    output_.told(L"FOLDER " + WindowText(title));
    int button = IDCANCEL;
    std::wstring answer;
    if (NextAnswer(answer) && ButtonFor(answer) != IDCANCEL) {
        // The dialog takes a folder that does not exist for the Desktop without a word.
        if (IsFolder(answer)) {
            ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(answer.c_str()));
            button = IDOK;
        } else {
            output_.misfit(L"the answer \"" + answer + L"\" to the folder dialog is no folder; it is cancelled");
        }
    }
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

bool DialogAnswerer::NextAnswer(std::wstring& answer) {
    if (answers_.empty()) return false;
    answer = std::move(answers_.front());
    answers_.pop_front();
    return true;
}

}  // namespace kv::host
