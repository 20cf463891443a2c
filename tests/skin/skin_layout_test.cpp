#include "skin/skin_layout.h"

#include "skin/skin_definition.h"

#include "tests/files/test_folder.h"

#include <gtest/gtest.h>

using Steps = std::vector<std::string>;

namespace {

// Writes down what the layout does, in order.
class RecordingTarget final : public kv::SkinLayoutTarget {
public:
    void SetTextColor(COLORREF color) override { steps.push_back("text " + std::to_string(color)); }
    void SetBarColor(COLORREF color) override { steps.push_back("bar " + std::to_string(color)); }
    void Move(kv::SkinItem item, const RECT& r) override {
        steps.push_back(std::to_string(static_cast<int>(item)) + ":" + std::to_string(r.left) + "," +
                        std::to_string(r.top) + "," + std::to_string(r.right) + "," +
                        std::to_string(r.bottom));
    }
    SIZE ButtonSize() const override { return {80, 24}; }
    Steps steps;
};

const std::string kSkin =
    "[main]\r\ntext_color=255,255,255\r\nprogress_pos=10,200,358,14\r\n"
    "progress_text_color=0,255,0\r\nprogress_text_pos=10,218,358,16\r\n"
    "file_name=10,20,200,16\r\nfile_size=10,40,9,16\r\nelapsed_time=10,60,9,16\r\n"
    "down_size=10,80,9,16\r\nodd_time=10,100,9,16\r\ndown_speed=10,120,9,16\r\n"
    "down_status=10,140,9,16\r\ndown_folder=10,160,9,16\r\nbtn_folder=10,260\r\n"
    "btn_run=5,150\r\nbtn_start=150,260\r\nbtn_stop=220,260\r\nbtn_close=290,260\r\n";

// Items by SkinItem: the bar, the percentage, the eight labels, folder button first.
const Steps kSteps = {
    "text 16777215", "bar 65280", "0:10,200,368,214", "1:10,218,368,234", "2:10,20,210,36",
    "3:10,40,19,56", "4:10,60,19,76", "5:10,80,19,96", "6:10,100,19,116", "7:10,120,19,136",
    "8:10,140,19,156", "9:10,160,19,176", "10:10,260,90,284", "11:5,150,85,174",
    "12:150,260,230,284", "13:220,260,300,284", "14:290,260,370,284"};

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
}

class SkinLayout : public testing::Test {
protected:
    // Lays out `ini`; true when it failed with E_INVALIDARG after the first `applied` steps.
    void ExpectLayout(const std::string& ini, HRESULT result, size_t applied) {
        WriteFileBytes(folder / "Config.ini", ini);
        RecordingTarget target;
        EXPECT_EQ(kv::LayoutSkin(folder / "Config.ini", target), result);
        EXPECT_EQ(target.steps, Steps(kSteps.begin(), kSteps.begin() + static_cast<long>(applied)));
    }
    TestFolder folder;
};

}  // namespace

TEST_F(SkinLayout, AppliesEveryKeyInOrder) { ExpectLayout(kSkin, S_OK, kSteps.size()); }

TEST_F(SkinLayout, NamesIgnoreCaseQuotesGoOtherSectionsDoNotCount) {
    std::string ini = Replace(kSkin, "[main]", "[other]\r\ntext_color=1,2,3\r\n[Main]");
    ini = Replace(ini, "file_name=10,20,200,16", "File_NAME = \"10,20,200,16\"  ");
    ExpectLayout(ini + "[later]\r\nbtn_run=1,1\r\n", S_OK, kSteps.size());
}

TEST_F(SkinLayout, StopsAtTheFirstKeyMissingEmptyOrShort) {
    ExpectLayout(Replace(kSkin, "text_color=255,255,255", "text_color=255,255"), E_INVALIDARG, 0);
    // The bar's colour is parsed after its place and before anything of the bar is applied.
    ExpectLayout(Replace(kSkin, "progress_text_color=0,255,0", "progress_text_color="), E_INVALIDARG, 1);
    ExpectLayout(Replace(kSkin, "file_name=10,20,200,16", "file_name=10,20,200"), E_INVALIDARG, 4);
    ExpectLayout(Replace(kSkin, "btn_stop=220,260\r\n", ""), E_INVALIDARG, 15);
    RecordingTarget target;
    EXPECT_EQ(kv::LayoutSkin(folder / "Absent.ini", target), E_INVALIDARG);
}

// The section read at once gives each value exactly as the platform's reader gives it alone.
TEST_F(SkinLayout, SectionReadAtOnceMatchesTheProfileReader) {
    const std::string longValue(300, '7');
    const std::string ini = "[other]\r\nsame=elsewhere\r\n[main]\r\n"
                            "double=\"1,2\"\r\nsingle='3,4'\r\nmixed=\"5,6'\r\nlone=\"\r\nempty=\"\"\r\n"
                            "  blanks  =   8, 9  \r\nbare\r\nfirst=1\r\nFIRST=2\r\nsame=here\r\n"
                            ";comment=1\r\nkorean=\xB0\xA1\xB3\xAA\r\nlong=" + longValue +
                            "\r\nlongquoted=\"" + longValue + "\"\r\nedge=\"" + std::string(255, '8') + "\"\r\n"
                            "[main]\r\nlater=1\r\n";
    WriteFileBytes(folder / "Config.ini", ini);
    const std::string path = folder / "Config.ini";
    const kv::SkinSection section("main", path);
    for (const char* key : {"double", "single", "mixed", "lone", "empty", "BLANKS", "bare", "first", "same",
                            ";comment", "korean", "long", "longquoted", "edge", "later", "absent"}) {
        EXPECT_EQ(section.Value(key), kv::ReadSkinValue("main", key, path)) << key;
    }
    EXPECT_EQ(section.Value("double"), "1,2");
}
