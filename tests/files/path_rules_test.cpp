#include "files/local_files.h"

#include "tests/files/test_folder.h"

#include <gtest/gtest.h>

TEST(JoinPath, OneBackslashBetween) {
    EXPECT_EQ(JoinPath("D:\\Down", "setup.exe"), "D:\\Down\\setup.exe");
    EXPECT_EQ(JoinPath("", "setup.exe"), "\\setup.exe");
}

TEST(MakeSkinPath, EmptyBaseFolderBecomesDriveCForGood) {
    std::string basePath;
    EXPECT_EQ(MakeSkinPath(basePath, "skin.zip"), "C:\\skin.zip");
    EXPECT_EQ(basePath, "C:");
    EXPECT_EQ(MakeSkinPath(basePath, "Config.ini"), "C:\\Config.ini");
    EXPECT_EQ(basePath, "C:");
}

TEST(MakeSkinPath, BaseFolderEndingInBackslashDoublesItAndStillResolves) {
    TestFolder root;
    std::string basePath = root.path() + "\\";
    const std::string path = MakeSkinPath(basePath, "Config.ini");
    EXPECT_EQ(path, root.path() + "\\\\Config.ini");
    WriteFileBytes(path, "[Main]");
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(ReadFileBytes(root / "Config.ini"), "[Main]");
}

TEST(MakeBasePath, TemporaryFolderFollowedDirectlyByTheValue) {
    EXPECT_EQ(MakeBasePath("C:\\users\\me\\Temp\\", "Skin\\Blue"), "C:\\users\\me\\Temp\\Skin\\Blue");
    EXPECT_EQ(MakeBasePath("C:\\users\\me\\Temp\\", ""), "C:\\users\\me\\Temp\\");
    EXPECT_EQ(MakeBasePath("", "Skin"), "Skin");
}

TEST(MakeBasePath, CreatingTheBaseFolderMakesEveryLevel) {
    TestFolder root;
    const std::string base = MakeBasePath(root.path() + "\\", "Skin\\Blue");
    EXPECT_TRUE(CreateFolderTree(base, false));
    EXPECT_TRUE(IsFolder(root / "Skin"));
    EXPECT_TRUE(IsFolder(root / "Skin\\Blue"));
}

TEST(IsContainedRelativePath, Table) {
    const struct {
        const char* name;
        bool contained;
    } cases[] = {
        {"", true},
        {"Config.ini", true},
        {"img/bk.jpg", true},
        {"img\\bk.jpg", true},
        {"a/b/", true},
        {"./Config.ini", true},
        {"a//b", true},
        {"..a/b..", true},
        {"a..b", true},
        {"스킨\\배경.jpg", true},
        {"Skin\\Blue", true},
        {"connect.ini", true},
        {"COM10", true},
        {"..", false},
        {"../x", false},
        {"..\\x", false},
        {"a/../../x", false},
        {"a\\..\\..\\x", false},
        {"a/..", false},
        {"a/...", false},
        {"a/.. /x", false},
        {"a\\. .\\x", false},
        {"/etc/x", false},
        {"\\windows\\x", false},
        {"\\\\server\\share\\x", false},
        {"//server/share/x", false},
        {"C:\\x", false},
        {"C:x", false},
        {"c:/x", false},
        {"file.txt:stream", false},
        {"file.txt::$DATA", false},
        {"CON", false},
        {"nul.txt", false},
        {"img/Com1.jpg", false},
        {"LPT9", false},
        {"aux .txt", false},
        {"CONOUT$", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsContainedRelativePath(c.name), c.contained) << c.name;
}
