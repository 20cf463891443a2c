#include "control/window/skin_applier.h"

#include "base/timeline.h"
#include "control/resource.h"
#include "control/window/child_panel.h"
#include "files/local_files.h"
#include "files/unpacked_files.h"
#include "skin/dpi_layout_target.h"
#include "skin/dpi_scale.h"
#include "skin/picture_file.h"
#include "skin/skin_definition.h"
#include "skin/skin_layout.h"

#include <array>

namespace {

// Lays nothing out: the definition is only read and parsed.
class CheckOnlyTarget final : public kv::SkinLayoutTarget {
public:
    void SetTextColor(COLORREF) override {}
    void SetBarColor(COLORREF) override {}
    void Move(kv::SkinItem, const RECT&) override {}
    SIZE ButtonSize() const override { return {}; }
};

struct ButtonPictures {
    std::array<kv::unique_hbitmap, 4> looks;  // normal, pressed, mouse over, disabled
};

}  // namespace

void ApplySkinPictures(std::string& basePath, CChildPanel& panel, const kv::UnpackedFiles* unpacked) {
    auto skinFile = [&basePath](const char* name) { return MakeSkinPath(basePath, name); };
    const int dpi = panel.Dpi();

    // A large picture held twice, the old beside the new, may not fit at all: the old one
    // goes first. Of the new one only what the window can show is kept.
    kv::TimelineMark("pictures begin");
    const kv::PictureDecoder decoder([unpacked](const std::string& path) {
        return unpacked ? unpacked->Find(path) : nullptr;
    });
    kv::TimelineMark("background begin");
    panel.ClearBackground();
    const SIZE visible = panel.ClientSize();
    kv::SkinPicture background =
        kv::LoadSkinPicture(decoder, skinFile(kv::kBackgroundPictureFile), dpi, &visible);
    kv::TimelineMark("background end");
    // Every button is the size of the run button's normal picture, as drawn at this dpi;
    // without that picture the size stays as it was.
    SIZE buttonSize = panel.ButtonSize();
    std::array<ButtonPictures, kv::kSkinButtonPictureFiles.size()> buttons;
    for (size_t b = 0; b < buttons.size(); ++b) {
        const kv::SkinButtonPictureFiles& files = kv::kSkinButtonPictureFiles[b];
        const char* const names[4] = {files.normal, files.pressed, files.over, files.disabled};
        for (size_t look = 0; look < 4; ++look) {
            // Buttons are drawn by their own code, from bitmaps that need no screen.
            const kv::DecodedSkinPicture picture = kv::DecodeSkinPicture(decoder, skinFile(names[look]), dpi);
            if (picture.pixels) buttons[b].looks[look] = kv::DibBitmapOf(*picture.pixels);
            if (b == 0 && look == 0 && buttons[b].looks[look]) buttonSize = kv::ScaleSizeToDpi(picture.designSize, dpi);
        }
    }
    kv::TimelineMark("pictures end");
    panel.SetButtonSize(buttonSize);
    panel.SetBackground(std::move(background.bitmap));
    for (size_t b = 0; b < buttons.size(); ++b) {
        if (kv::CxSkinButton* button = panel.Button(IDC_BTN_RUN + static_cast<int>(b))) {
            auto& looks = buttons[b].looks;
            button->AssignPictures(std::move(looks[0]), std::move(looks[1]), std::move(looks[2]),
                                   std::move(looks[3]));
        }
    }
}

HRESULT LayoutSkinWindow(std::string& basePath, CChildPanel& panel) {
    const std::string definition = MakeSkinPath(basePath, kv::kSkinDefinitionFile);
    const int dpi = panel.Dpi();
    if (dpi == kv::kDesignDpi) return kv::LayoutSkin(definition, panel);
    kv::DpiLayoutTarget scaled(panel, dpi);
    return kv::LayoutSkin(definition, scaled);
}

HRESULT CheckSkinDefinition(std::string& basePath) {
    CheckOnlyTarget target;
    return kv::LayoutSkin(MakeSkinPath(basePath, kv::kSkinDefinitionFile), target);
}
