#include "skin/folder_chooser.h"

#include "tests/files/test_folder.h"
#include "window_test_support.h"

#include <gtest/gtest.h>

namespace {

std::wstring shownTitle;
int answer = IDCANCEL;

// Answers the thread's folder dialog as soon as it shows, keeping the title it showed (the
// static with id 14146).
LRESULT CALLBACK AnswerDialog(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && shownTitle.empty()) {
        wchar_t text[256] = {};
        ::GetDlgItemTextW(reinterpret_cast<HWND>(wParam), 14146, text, 256);
        shownTitle = text;
        ::PostMessageW(reinterpret_cast<HWND>(wParam), WM_COMMAND, answer, 0);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

std::optional<std::string> Browse(int answerWith) {
    shownTitle.clear();
    answer = answerWith;
    const HHOOK hook = ::SetWindowsHookExW(WH_CBT, AnswerDialog, nullptr, ::GetCurrentThreadId());
    TestParent parent;
    std::optional<std::string> chosen = kv::BrowseForFolder(parent.handle());
    ::UnhookWindowsHookEx(hook);
    return chosen;
}

}  // namespace

TEST(FolderChooser, OpensOnTheCurrentFolderWithItsTitle) {
    OleScope ole;
    TestFolder folder;
    // Wine's dialog cannot select a folder with a Korean name (it falls back to the Desktop,
    // for the wide message as well), so this one has a plain name.
    ASSERT_TRUE(::CreateDirectoryA((folder / "Down").c_str(), nullptr));
    ASSERT_TRUE(::SetCurrentDirectoryA((folder / "Down").c_str()));
    // Wine's dialog now and then opens on the Desktop the first time a process shows it
    // (its shell namespace is still being filled); a later showing selects the folder.
    std::optional<std::string> chosen;
    for (int attempt = 0; attempt < 3 && chosen != folder / "Down"; ++attempt) chosen = Browse(IDOK);
    EXPECT_EQ(chosen, folder / "Down");
    EXPECT_EQ(shownTitle, L"폴더를 선택하십시오.");
    EXPECT_EQ(Browse(IDCANCEL), std::nullopt);
}
