#include "files/path_rules.h"

#include <gtest/gtest.h>

TEST(JoinPath, OneBackslashBetween) {
    EXPECT_EQ(JoinPath("D:\\Down", "setup.exe"), "D:\\Down\\setup.exe");
    EXPECT_EQ(JoinPath("", "setup.exe"), "\\setup.exe");
}

TEST(MakeBasePath, TemporaryFolderFollowedDirectlyByTheValue) {
    EXPECT_EQ(MakeBasePath("C:\\users\\me\\Temp\\", "Skin\\Blue"), "C:\\users\\me\\Temp\\Skin\\Blue");
    EXPECT_EQ(MakeBasePath("C:\\users\\me\\Temp\\", ""), "C:\\users\\me\\Temp\\");
    // Without the temporary folder there is no base folder, rather than one relative to
    // whatever folder is current.
    EXPECT_EQ(MakeBasePath("", "Skin"), "");
    EXPECT_EQ(MakeBasePath("", ""), "");
}

TEST(IsContainedRelativePath, Table) {
    const struct {
        std::string name;
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
        {"COM1x.txt", true},
        {"COM\xB9\xE8.txt", true},  // a Korean character whose lead byte is B9
        {"LPT\xA9\xF6\xA9\xF6", true},
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
        {"COM0", false},
        {"lpt0.txt", false},
        {"COM\xA9\xF6", false},         // COM and a superscript one in code page 949
        {"LPT\xA9\xF7.txt", false},     // LPT and a superscript two
        {"img/com\xA9\xF8 .jpg", false},  // com and a superscript three
        // The system reads a name up to its first NUL: "..", "CON", "COM1".
        {std::string("..\0x", 4), false},
        {std::string("CON\0", 4), false},
        {std::string("COM1\0", 5), false},
        {"a\tb", false},
        {"\x1f", false},
        {"*", false},
        {"fi*.zip", false},
        {"skin.zi?", false},
        {"a<b", false},
        {"a>b", false},
        {"a\"b", false},
        {"a|b", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsContainedRelativePath(c.name), c.contained) << c.name;
}

TEST(GetFileNamePart, SplitsLikeSplitpath) {
    const struct {
        const char* path;
        const char* name;
    } cases[] = {
        {"C:\\dir\\sub\\Config.ini", "Config.ini"},
        {"C:/dir/bk.jpg", "bk.jpg"},
        {"dir\\sub/mixed.txt", "mixed.txt"},
        {"C:name.txt", "name.txt"},
        {"C:", ""},
        {"C:\\dir\\", ""},
        {"\\\\server\\share\\setup.exe", "setup.exe"},
        {"plain", "plain"},
        {".hidden", ".hidden"},
        {"archive.tar.gz", "archive.tar.gz"},
        {"C:\\스킨\\배경.jpg", "배경.jpg"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(GetFileNamePart(c.path), c.name) << c.path;
}

TEST(GetFileNamePart, LongNameIsReturnedWhole) {
    const std::string name(300, 'n');
    EXPECT_EQ(GetFileNamePart("C:\\dir\\" + name + ".txt"), name + ".txt");
}
