#include "files/local_files.h"

#include "base/local_file.h"
#include "tests/files/test_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

DWORD Attributes(const std::string& path) { return ::GetFileAttributesA(path.c_str()); }

}  // namespace

TEST(GetTempFolder, EndsInABackslashAndExists) {
    const std::string temp = GetTempFolder();
    ASSERT_GE(temp.size(), 3u);
    EXPECT_EQ(temp.back(), '\\');
    EXPECT_TRUE(IsFolder(temp.substr(0, temp.size() - 1)));
}

TEST(CreateFolderTree, ExistingFolderBecomesCurrentAndNothingIsCreated) {
    TestFolder root;
    ::CreateDirectoryA((root / "old").c_str(), nullptr);
    EXPECT_TRUE(CreateFolderTree(root / "old", false));
    EXPECT_EQ(CurrentFolder(), root / "old");
    EXPECT_EQ(ListFolder(root.path()), "old");
    EXPECT_EQ(ListFolder(root / "old"), "");
}

TEST(CreateFolderTree, NewThreeLevelsAreAllCreatedAndCurrentFolderStays) {
    TestFolder root;
    const std::string before = CurrentFolder();
    EXPECT_TRUE(CreateFolderTree(root / "a\\b\\c", false));
    EXPECT_TRUE(IsFolder(root / "a\\b\\c"));
    EXPECT_EQ(CurrentFolder(), before);
    // With a trailing backslash the same.
    EXPECT_TRUE(CreateFolderTree(root / "x\\y\\z\\", false));
    EXPECT_TRUE(IsFolder(root / "x\\y\\z"));
    EXPECT_EQ(CurrentFolder(), before);
}

TEST(CreateFolderTree, FilePathCreatesOnlyTheFoldersAboveTheFile) {
    TestFolder root;
    EXPECT_TRUE(CreateFolderTree(root / "img\\sub\\bk.jpg", true));
    EXPECT_TRUE(IsFolder(root / "img\\sub"));
    EXPECT_EQ(ListFolder(root / "img\\sub"), "");
    // A file path that ends in a backslash keeps all of it.
    EXPECT_TRUE(CreateFolderTree(root / "dir\\", true));
    EXPECT_TRUE(IsFolder(root / "dir"));
    // An existing parent is made current, as for a folder path.
    EXPECT_TRUE(CreateFolderTree(root / "img\\other.jpg", true));
    EXPECT_EQ(CurrentFolder() + "\\", root / "img\\");
}

TEST(CreateFolderTree, EmptyFolderPartIsRefusedBeforeAnythingIsCreated) {
    TestFolder root;
    ::SetCurrentDirectoryA(root.path().c_str());
    EXPECT_FALSE(CreateFolderTree("", false));
    EXPECT_FALSE(CreateFolderTree("", true));
    EXPECT_FALSE(CreateFolderTree("file.txt", true));
    EXPECT_EQ(ListFolder(root.path()), "");
}

TEST(CreateFolderTree, KoreanFolderNames) {
    TestFolder root;
    EXPECT_TRUE(CreateFolderTree(root / "스킨\\파란색", false));
    // Checked through the wide API: the bytes were code page 949.
    const std::wstring wide = std::wstring(root.path().begin(), root.path().end()) + L"\\스킨\\파란색";
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(CreateFolderTree(root / "스킨\\파란색\\배경.jpg", true));
    EXPECT_EQ(CurrentFolder(), root / "스킨\\파란색");
}

TEST(FileExists, FoldersFilesAndWildcards) {
    TestFolder root;
    WriteFileBytes(root / "file.txt", "x");
    ::CreateDirectoryA((root / "sub").c_str(), nullptr);
    EXPECT_TRUE(kv::FileExists(root / "file.txt"));
    EXPECT_TRUE(kv::FileExists(root / "sub"));
    EXPECT_FALSE(kv::FileExists(root / "sub\\"));
    EXPECT_FALSE(kv::FileExists(root / "missing.txt"));
    EXPECT_FALSE(kv::FileExists(root / "missing\\file.txt"));
    EXPECT_FALSE(kv::FileExists(""));
    // A pattern is no name: "*" would make any file of the folder count as the one asked for.
    for (const char* pattern : {"*", "fi*.txt", "file.tx?", "file<", "\"file.txt\""})
        EXPECT_FALSE(kv::FileExists(root / pattern)) << pattern;
}

TEST(ClearReadOnly, ReadOnlyHiddenFileStaysHiddenAndBecomesWritable) {
    TestFolder root;
    const std::string path = root / "skin.jpg";
    WriteFileBytes(path, "x");
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    ClearReadOnly(path);
    EXPECT_EQ(Attributes(path) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE);
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
}

TEST(ClearReadOnly, OnlyReadOnlyFileAndMissingFile) {
    TestFolder root;
    const std::string path = root / "ro.txt";
    WriteFileBytes(path, "x");
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    ClearReadOnly(path);
    EXPECT_FALSE(Attributes(path) & FILE_ATTRIBUTE_READONLY);
    ClearReadOnly(root / "missing.txt");
    EXPECT_EQ(Attributes(root / "missing.txt"), INVALID_FILE_ATTRIBUTES);
}

TEST(MakeSkinPath, EmptyBaseFolderBecomesTheControlsOwnFolderBelowTemp) {
    const std::string own = GetTempFolder() + "Korvendal";
    std::string basePath;
    EXPECT_EQ(MakeSkinPath(basePath, "skin.zip"), own + "\\skin.zip");
    EXPECT_EQ(basePath, own);
    EXPECT_TRUE(IsFolder(own));
    EXPECT_EQ(MakeSkinPath(basePath, "Config.ini"), own + "\\Config.ini");
}

TEST(MakeSkinPath, WithoutTheTemporaryFolderThereIsNoPath) {
    // GetTempPath reports TMP first; one too long for MAX_PATH leaves it unknown.
    char saved[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableA("TMP", saved, MAX_PATH);
    ASSERT_TRUE(::SetEnvironmentVariableA("TMP", ("C:\\" + std::string(300, 't')).c_str()));
    ASSERT_EQ(GetTempFolder(), "");
    std::string basePath;
    EXPECT_EQ(MakeSkinPath(basePath, "skin.zip"), "");
    EXPECT_EQ(basePath, "");
    ::SetEnvironmentVariableA("TMP", length > 0 && length < MAX_PATH ? saved : nullptr);
}

TEST(MakeSkinPath, BaseFolderEndingInBackslashDoublesItAndStillResolves) {
    TestFolder root;
    std::string basePath = root.path() + "\\";
    const std::string path = MakeSkinPath(basePath, "Config.ini");
    EXPECT_EQ(path, root.path() + "\\\\Config.ini");
    WriteFileBytes(path, "[Main]");
    EXPECT_TRUE(kv::FileExists(path));
    EXPECT_EQ(ReadFileBytes(root / "Config.ini"), "[Main]");
}

TEST(MakeBasePath, CreatingTheBaseFolderMakesEveryLevel) {
    TestFolder root;
    const std::string base = MakeBasePath(root.path() + "\\", "Skin\\Blue");
    EXPECT_TRUE(CreateFolderTree(base, false));
    EXPECT_TRUE(IsFolder(root / "Skin"));
    EXPECT_TRUE(IsFolder(root / "Skin\\Blue"));
}
