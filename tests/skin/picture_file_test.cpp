#include "skin/picture_file.h"

#include "window_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// Where make_pictures.py writes, beside the test program.
std::string PictureFolder() {
    char module[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string folder = module;
    return folder.substr(0, folder.find_last_of('\\')) + "\\skin_pictures";
}

// JPEG moves a one-colour picture's channels by a few steps at most.
bool CloseTo(COLORREF actual, COLORREF expected) {
    const auto diff = [&](int shift) {
        return std::abs(static_cast<int>(actual >> shift & 0xFF) - static_cast<int>(expected >> shift & 0xFF));
    };
    return diff(0) <= 4 && diff(8) <= 4 && diff(16) <= 4;
}

}  // namespace

TEST(PictureFile, LoadsAJpegAtItsPixelSizeFromARelativePath) {
    OleScope ole;
    TestParent parent;
    char saved[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, saved);
    ASSERT_TRUE(::SetCurrentDirectoryA(PictureFolder().c_str()));
    int width = 0;
    int height = 0;
    const kv::unique_hbitmap picture = kv::LoadPictureFile("solid.jpg", &width, &height);
    ::SetCurrentDirectoryA(saved);
    ASSERT_TRUE(picture);
    EXPECT_EQ(width, 80);
    EXPECT_EQ(height, 24);
    BITMAP info = {};
    ::GetObjectA(picture.get(), sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 80);
    EXPECT_EQ(info.bmHeight, 24);
    const kv::unique_hdc dc(::CreateCompatibleDC(nullptr));
    const kv::unique_select_object selected(dc.get(), picture.get());
    EXPECT_PRED2(CloseTo, ::GetPixel(dc.get(), 0, 0), RGB(200, 40, 90));
    EXPECT_PRED2(CloseTo, ::GetPixel(dc.get(), 79, 23), RGB(200, 40, 90));
}

// A background far larger than its window would be held whole for nothing: only the part the
// window can show is kept, while the sizes still tell the whole picture.
TEST(PictureFile, KeepsOnlyThePartAskedFor) {
    OleScope ole;
    TestParent parent;
    int width = 0;
    int height = 0;
    const SIZE part{30, 100};
    const kv::unique_hbitmap picture =
        kv::LoadPictureFile(PictureFolder() + "\\solid.jpg", &width, &height, &part);
    ASSERT_TRUE(picture);
    EXPECT_EQ(width, 80);
    EXPECT_EQ(height, 24);
    BITMAP info = {};
    ::GetObjectA(picture.get(), sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 30);
    EXPECT_EQ(info.bmHeight, 24);
    const kv::unique_hdc dc(::CreateCompatibleDC(nullptr));
    const kv::unique_select_object selected(dc.get(), picture.get());
    EXPECT_PRED2(CloseTo, ::GetPixel(dc.get(), 29, 23), RGB(200, 40, 90));
}

TEST(PictureFile, WhatCannotBeLoadedIsNoneAndLeavesTheSize) {
    OleScope ole;
    for (const char* name : {"\\missing.jpg", "\\broken.jpg"}) {
        int width = -5;
        int height = -6;
        EXPECT_FALSE(kv::LoadPictureFile(PictureFolder() + name, &width, &height)) << name;
        EXPECT_EQ(width + height, -11);
    }
}

namespace {

struct Drawn {
    SIZE design{};
    SIZE bitmap{};
    COLORREF corner = 0;  // the bitmap's bottom-right pixel
};

Drawn DrawSkinPicture(const std::string& name, int dpi) {
    const kv::PictureDecoder decoder;
    const kv::SkinPicture picture = kv::LoadSkinPicture(decoder, PictureFolder() + "\\" + name, dpi);
    Drawn drawn{picture.designSize};
    BITMAP info = {};
    if (!picture.bitmap || !::GetObjectA(picture.bitmap.get(), sizeof info, &info)) return drawn;
    drawn.bitmap = {info.bmWidth, info.bmHeight};
    const kv::unique_hdc dc(::CreateCompatibleDC(nullptr));
    const kv::unique_select_object selected(dc.get(), picture.bitmap.get());
    drawn.corner = ::GetPixel(dc.get(), info.bmWidth - 1, info.bmHeight - 1);
    return drawn;
}

}  // namespace

// A skin picture is its plain file's size times dpi / 96, drawn whole, from the double-size
// file from 144 dpi up; a double-size file alone counts as half its size, rounded up.
TEST(PictureFile, SkinPicturesAreScaledForTheScreenFromTheirDoubleSizeFileFrom144Dpi) {
    OleScope ole;
    const COLORREF plain = RGB(200, 40, 90);
    const COLORREF doubled = RGB(30, 160, 220);
    struct Case {
        const char* name;
        int dpi;
        SIZE design;
        SIZE bitmap;
        COLORREF colour;
    };
    const Case cases[] = {
        {"solid.jpg", 96, {80, 24}, {80, 24}, plain},     {"solid.jpg", 120, {80, 24}, {100, 30}, plain},
        {"solid.jpg", 143, {80, 24}, {119, 36}, plain},   {"solid.jpg", 144, {80, 24}, {120, 36}, doubled},
        {"solid.jpg", 192, {80, 24}, {160, 48}, doubled}, {"solid.jpg", 240, {80, 24}, {200, 60}, doubled},
        {"lonely.jpg", 192, {21, 10}, {42, 20}, doubled},
    };
    for (const Case& c : cases) {
        const Drawn drawn = DrawSkinPicture(c.name, c.dpi);
        EXPECT_EQ(drawn.design.cx, c.design.cx) << c.name << " " << c.dpi;
        EXPECT_EQ(drawn.design.cy, c.design.cy) << c.name << " " << c.dpi;
        EXPECT_EQ(drawn.bitmap.cx, c.bitmap.cx) << c.name << " " << c.dpi;
        EXPECT_EQ(drawn.bitmap.cy, c.bitmap.cy) << c.name << " " << c.dpi;
        EXPECT_PRED2(CloseTo, drawn.corner, c.colour) << c.name << " " << c.dpi;
    }
    // Below 144 dpi a double-size file alone is no picture.
    EXPECT_EQ(DrawSkinPicture("lonely.jpg", 96).bitmap.cx, 0);
}
