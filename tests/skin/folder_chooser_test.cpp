#include "skin/folder_chooser.h"

#include "tests/files/test_folder.h"
#include "window_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int kTitleStaticId = 14146;

// Answers the next folder dialog of this thread with `answer` (IDOK or IDCANCEL) and keeps
// the title it showed. One hook at a time.
class DialogAnswer {
public:
    explicit DialogAnswer(int answer) {
        current_ = this;
        answer_ = answer;
        hook_ = ::SetWindowsHookExW(WH_CBT, Hook, nullptr, ::GetCurrentThreadId());
    }
    DialogAnswer(const DialogAnswer&) = delete;
    DialogAnswer& operator=(const DialogAnswer&) = delete;
    ~DialogAnswer() {
        ::UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    std::wstring title;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        const auto window = reinterpret_cast<HWND>(wParam);
        if (code == HCBT_ACTIVATE && current_ && !current_->answered_) {
            wchar_t text[256] = {};
            ::GetDlgItemTextW(window, kTitleStaticId, text, 256);
            current_->title = text;
            current_->answered_ = true;
            ::PostMessageW(window, WM_COMMAND, current_->answer_, 0);
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline DialogAnswer* current_ = nullptr;
    HHOOK hook_ = nullptr;
    int answer_ = IDCANCEL;
    bool answered_ = false;
};

}  // namespace

TEST(FolderChooser, OpensOnTheCurrentFolderWithItsTitle) {
    OleScope ole;
    TestParent parent;
    TestFolder folder;
    // Wine's dialog cannot select a folder with a Korean name (it falls back to the Desktop,
    // for the wide message as well), so the folder has a plain one.
    const std::string chosen = folder / "Down";
    ASSERT_TRUE(::CreateDirectoryA(chosen.c_str(), nullptr));
    ASSERT_TRUE(::SetCurrentDirectoryA(chosen.c_str()));

    DialogAnswer ok(IDOK);
    EXPECT_EQ(kv::BrowseForFolder(parent.handle()), chosen);
    EXPECT_EQ(ok.title, L"폴더를 선택하십시오.");
}

TEST(FolderChooser, CancelGivesNothing) {
    OleScope ole;
    TestParent parent;
    DialogAnswer cancel(IDCANCEL);
    EXPECT_EQ(kv::BrowseForFolder(parent.handle()), std::nullopt);
}
