#include "skin/picture_file.h"

#include "window_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using kv::LoadPictureFile;

namespace {

// The folder make_pictures.py writes beside the test program.
std::string PictureFolder() {
    char module[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string folder = module;
    folder.resize(folder.find_last_of('\\'));
    return folder + "\\skin_pictures";
}

// JPEG moves a one-colour picture's channels by a few steps at most.
bool CloseTo(COLORREF actual, COLORREF expected) {
    const auto closeTo = [](int a, int b) { return std::abs(a - b) <= 4; };
    return closeTo(GetRValue(actual), GetRValue(expected)) &&
           closeTo(GetGValue(actual), GetGValue(expected)) &&
           closeTo(GetBValue(actual), GetBValue(expected));
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
    const kv::unique_hdc dc(::CreateCompatibleDC(nullptr));
    const kv::unique_select_object selected(dc.get(), bitmap);
    return ::GetPixel(dc.get(), x, y);
}

BITMAP InfoOf(HBITMAP bitmap) {
    BITMAP info = {};
    ::GetObjectA(bitmap, sizeof info, &info);
    return info;
}

class PictureFile : public testing::Test {
protected:
    OleScope ole;
    TestParent parent;
};

}  // namespace

TEST_F(PictureFile, LoadsAJpegAtItsPixelSize) {
    int width = 0;
    int height = 0;
    const kv::unique_hbitmap picture =
        LoadPictureFile(parent.handle(), PictureFolder() + "\\solid.jpg", &width, &height);
    ASSERT_TRUE(picture);
    EXPECT_EQ(width, 80);
    EXPECT_EQ(height, 24);
    const BITMAP info = InfoOf(picture.get());
    EXPECT_EQ(info.bmWidth, 80);
    EXPECT_EQ(info.bmHeight, 24);
    EXPECT_PRED2(CloseTo, PixelOf(picture.get(), 0, 0), RGB(200, 40, 90));
    EXPECT_PRED2(CloseTo, PixelOf(picture.get(), 79, 23), RGB(200, 40, 90));
}

TEST_F(PictureFile, RelativePathsStartAtTheCurrentFolder) {
    char saved[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, saved);
    ASSERT_TRUE(::SetCurrentDirectoryA(PictureFolder().c_str()));
    int height = 0;
    const kv::unique_hbitmap picture = LoadPictureFile(parent.handle(), "tall.jpg", nullptr, &height);
    ::SetCurrentDirectoryA(saved);
    ASSERT_TRUE(picture);
    EXPECT_EQ(height, 50);
    EXPECT_EQ(InfoOf(picture.get()).bmWidth, 30);
    EXPECT_PRED2(CloseTo, PixelOf(picture.get(), 15, 25), RGB(20, 120, 220));
}

TEST_F(PictureFile, WhatCannotBeLoadedIsNoneAndLeavesTheSize) {
    for (const char* name : {"\\missing.jpg", "\\broken.jpg"}) {
        int width = -5;
        int height = -6;
        EXPECT_FALSE(LoadPictureFile(parent.handle(), PictureFolder() + name, &width, &height)) << name;
        EXPECT_EQ(width, -5);
        EXPECT_EQ(height, -6);
    }
}
