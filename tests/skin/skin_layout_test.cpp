#include "skin/skin_layout.h"

#include "tests/files/test_folder.h"

#include <gtest/gtest.h>

#include <sstream>

using kv::LayoutSkin;
using kv::SkinItem;

namespace {

// Records what the layout does, in order, as text.
class RecordingTarget final : public kv::SkinLayoutTarget {
public:
    void SetTextColor(COLORREF color) override { Note("text ", color); }
    void SetBarColor(COLORREF color) override { Note("bar ", color); }
    void Move(SkinItem item, const RECT& r) override {
        std::ostringstream line;
        line << "move " << static_cast<int>(item) << " " << r.left << "," << r.top << ","
             << r.right << "," << r.bottom;
        steps.push_back(line.str());
    }
    SIZE ButtonSize() const override { return {80, 24}; }

    std::vector<std::string> steps;

private:
    void Note(const char* what, COLORREF color) {
        std::ostringstream line;
        line << what << std::hex << color;
        steps.push_back(line.str());
    }
};

const char kCompleteSkin[] =
    "[main]\r\n"
    "text_color=255,255,255\r\n"
    "progress_pos=10,200,358,14\r\n"
    "progress_text_color=0,255,0\r\n"
    "progress_text_pos=10,218,358,16\r\n"
    "file_name=10,20,200,16\r\n"
    "file_size=10,40,358,16\r\n"
    "elapsed_time=10,60,358,16\r\n"
    "down_size=10,80,358,16\r\n"
    "odd_time=10,100,358,16\r\n"
    "down_speed=10,120,358,16\r\n"
    "down_status=10,140,358,16\r\n"
    "down_folder=10,160,358,16\r\n"
    "btn_folder=10,260\r\n"
    "btn_run=5,150\r\n"
    "btn_start=150,260\r\n"
    "btn_stop=220,260\r\n"
    "btn_close=290,260\r\n";

const std::vector<std::string> kCompleteSteps = {
    "text ffffff",
    "bar ff00",
    "move 0 10,200,368,214",   // progress bar
    "move 1 10,218,368,234",   // percentage
    "move 2 10,20,210,36",     // file name
    "move 3 10,40,368,56",
    "move 4 10,60,368,76",
    "move 5 10,80,368,96",
    "move 6 10,100,368,116",
    "move 7 10,120,368,136",
    "move 8 10,140,368,156",
    "move 9 10,160,368,176",   // target path
    "move 10 10,260,90,284",   // folder button first
    "move 11 5,150,85,174",    // run
    "move 12 150,260,230,284",
    "move 13 220,260,300,284",
    "move 14 290,260,370,284",
};

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

class SkinLayout : public testing::Test {
protected:
    // Lays out the skin `ini` and returns the result; the steps are in `target`.
    HRESULT Layout(const std::string& ini) {
        const std::string path = folder / "Config.ini";
        WriteFileBytes(path, ini);
        return LayoutSkin(path, target);
    }
    std::vector<std::string> FirstSteps(size_t count) const {
        return {kCompleteSteps.begin(), kCompleteSteps.begin() + static_cast<long>(count)};
    }

    TestFolder folder;
    RecordingTarget target;
};

}  // namespace

TEST_F(SkinLayout, AppliesEveryKeyInOrder) {
    EXPECT_EQ(Layout(kCompleteSkin), S_OK);
    EXPECT_EQ(target.steps, kCompleteSteps);
}

TEST_F(SkinLayout, NamesMatchWithoutCaseAndQuotesAreDropped) {
    std::string ini = Replace(kCompleteSkin, "[main]", "[Main]");
    ini = Replace(ini, "text_color=255,255,255", "TEXT_COLOR = \"255,255,255\"");
    ini = Replace(ini, "file_name=10,20,200,16", "File_Name=\"10,20,200,16\"  ");
    EXPECT_EQ(Layout(ini), S_OK);
    EXPECT_EQ(target.steps, kCompleteSteps);
}

TEST_F(SkinLayout, OtherSectionsAreIgnored) {
    std::string ini = Replace(kCompleteSkin, "[main]\r\n",
                              "[other]\r\ntext_color=1,2,3\r\nbtn_run=0,0\r\n[main]\r\n");
    ini += "[later]\r\nfile_name=1,1,1,1\r\n";
    EXPECT_EQ(Layout(ini), S_OK);
    EXPECT_EQ(target.steps, kCompleteSteps);
}

TEST_F(SkinLayout, ShortTextColourPlacesNothing) {
    EXPECT_EQ(Layout(Replace(kCompleteSkin, "text_color=255,255,255", "text_color=255,255")),
              E_INVALIDARG);
    EXPECT_EQ(target.steps, FirstSteps(0));
}

TEST_F(SkinLayout, ShortRectangleStopsAfterWhatCameBefore) {
    EXPECT_EQ(Layout(Replace(kCompleteSkin, "file_name=10,20,200,16", "file_name=10,20,200")),
              E_INVALIDARG);
    EXPECT_EQ(target.steps, FirstSteps(4));  // colours, bar and percentage label
}

TEST_F(SkinLayout, MissingOrEmptyKeysFail) {
    // The bar's colour is parsed after its place and before anything of it is applied.
    EXPECT_EQ(Layout(Replace(kCompleteSkin, "progress_text_color=0,255,0", "progress_text_color=")),
              E_INVALIDARG);
    EXPECT_EQ(target.steps, FirstSteps(1));
    target.steps.clear();
    EXPECT_EQ(Layout(Replace(kCompleteSkin, "btn_stop=220,260\r\n", "")), E_INVALIDARG);
    EXPECT_EQ(target.steps, FirstSteps(15));  // up to the start button
    target.steps.clear();
    EXPECT_EQ(LayoutSkin(folder / "Absent.ini", target), E_INVALIDARG);
    EXPECT_EQ(target.steps, FirstSteps(0));
}
