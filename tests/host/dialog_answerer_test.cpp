// The dialog answerer in process, around real message boxes and the shell's folder
// dialog: what it tells of each dialog and what the dialog returns.
#include "host/dialog_answerer.h"

#include <gtest/gtest.h>
#include <ole2.h>
#include <shlobj.h>

namespace kv::host {
namespace {

struct Lines {
    std::vector<std::wstring> told;
    std::vector<std::wstring> misfits;

    DialogAnswerer::Output Output() {
        return {[this](const std::wstring& line) { told.push_back(line); },
                [this](const std::wstring& line) { misfits.push_back(line); }};
    }
};

TEST(DialogAnswerer, AnswersBoxesInOrderThenTakesTheirDefaults) {
    Lines lines;
    DialogAnswerer answerer({L"no", L"YES", L"ok", L"cancel"}, lines.Output());
    ASSERT_EQ(S_OK, answerer.Start());
    EXPECT_EQ(IDNO, ::MessageBoxW(nullptr, L"파일이 존재합니다. 이어받으시겠습니까?", L"알림", MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(IDYES, ::MessageBoxW(nullptr, L"first\r\nsecond", L"알림", MB_YESNO));
    EXPECT_EQ(IDOK, ::MessageBoxW(nullptr, L"끝", L"에러", MB_OK | MB_ICONERROR));
    // An answer the box has no button for, then no answer left: Enter's button.
    EXPECT_EQ(IDNO, ::MessageBoxW(nullptr, L"again", L"알림", MB_YESNO | MB_DEFBUTTON2));
    EXPECT_EQ(IDCANCEL, ::MessageBoxW(nullptr, L"계속할까요?", L"알림", MB_OKCANCEL | MB_DEFBUTTON2));
    EXPECT_EQ(lines.told, (std::vector<std::wstring>{L"BOX 알림|파일이 존재합니다. 이어받으시겠습니까?",
                                                     L"BOX 알림|first\\nsecond", L"BOX 에러|끝", L"BOX 알림|again",
                                                     L"BOX 알림|계속할까요?"}));
    EXPECT_EQ(1u, lines.misfits.size());
}

std::wstring PathOf(PIDLIST_ABSOLUTE chosen) {
    if (!chosen) return L"(cancelled)";
    wchar_t path[MAX_PATH] = {};
    ::SHGetPathFromIDListW(chosen, path);
    ::CoTaskMemFree(chosen);
    return path;
}

TEST(DialogAnswerer, AnswersFolderDialogsWithAnExistingFolderOrCancels) {
    ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
    wchar_t windows[MAX_PATH] = {};
    ASSERT_GT(::GetWindowsDirectoryW(windows, MAX_PATH), 0u);
    Lines lines;
    {
        DialogAnswerer answerer({windows, L"cancel", L"C:\\no\\such\\folder"}, lines.Output());
        ASSERT_EQ(S_OK, answerer.Start());
        BROWSEINFOW browse = {};
        browse.lpszTitle = L"다운로드 폴더를 선택하세요";
        browse.ulFlags = BIF_RETURNONLYFSDIRS;
        EXPECT_EQ(CSTR_EQUAL, ::CompareStringOrdinal(PathOf(::SHBrowseForFolderW(&browse)).c_str(), -1, windows, -1, TRUE));
        EXPECT_EQ(L"(cancelled)", PathOf(::SHBrowseForFolderW(&browse)));
        // A folder that does not exist would become the Desktop without a word.
        EXPECT_EQ(L"(cancelled)", PathOf(::SHBrowseForFolderW(&browse)));
        EXPECT_EQ(L"(cancelled)", PathOf(::SHBrowseForFolderW(&browse)));
    }
    ::OleUninitialize();
    EXPECT_EQ(lines.told, std::vector<std::wstring>(4, L"FOLDER 다운로드 폴더를 선택하세요"));
    EXPECT_EQ(1u, lines.misfits.size());
}

}  // namespace
}  // namespace kv::host
