// Answers the message boxes and folder dialogs of one thread in a headless run, as the
// person at the screen would: each one is told in a line and answered with the next reply
// of a list given in advance, or left to its default when the list is used up.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "base/unique_resource.h"

namespace kv::host {

class DialogAnswerer {
public:
    struct Output {
        // "BOX <caption>|<text>" or "FOLDER <title>", one per dialog.
        std::function<void(const std::wstring&)> told;
        // A reply that does not fit the dialog it reached.
        std::function<void(const std::wstring&)> misfit;
    };

    // Replies: "yes", "no", "ok", "cancel" for a box; a folder (Windows form) or "cancel"
    // for a folder dialog.
    DialogAnswerer(std::vector<std::wstring> answers, Output output)
        : answers_(answers.begin(), answers.end()), output_(std::move(output)) {}
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;
    ~DialogAnswerer();

    // Watches the dialogs the calling thread shows from now on; one answerer per thread.
    [[nodiscard]] HRESULT Start();

private:
    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
    void OnActivate(HWND window);
    void AnswerBox(HWND box);
    void AnswerFolder(HWND dialog, HWND title);
    bool NextAnswer(std::wstring& answer);

    std::deque<std::wstring> answers_;
    Output output_;
    // The hook sees every activation of a dialog, also after it has been answered.
    std::set<HWND> answered_;
    unique_hhook hook_;
};

}  // namespace kv::host
