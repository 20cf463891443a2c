#include "control/skin_builder.h"

#include "base/timeline.h"
#include "control/download_controller.h"
#include "control/installer_children.h"
#include "control/installer_messages.h"
#include "control/progress_texts.h"
#include "control/resource.h"
#include "files/local_files.h"
#include "net/http_downloader.h"
#include "skin/picture_file.h"
#include "skin/skin_definition.h"
#include "skin/skin_layout.h"

#include <shlobj.h>

#include <array>

namespace {

constexpr char kFirstDuration[] = "00:00:00";

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

void LoadSkin(const SkinBuildContext& context) {
    HWND window = context.window;
    CInstallerChildren& children = context.children;
    CDownloadController& controller = context.controller;
    TransferTarget& target = controller.target();
    auto skinFile = [&context](const char* name) { return MakeSkinPath(context.basePath, name); };

    kv::TimelineMark("pictures begin");
    kv::TimelineMark("background begin");
    kv::unique_hbitmap background = kv::LoadPictureFile(window, skinFile(kv::kBackgroundPictureFile));
    kv::TimelineMark("background end");
    // Every button is the size of the run button's normal picture; without that picture the
    // size stays as it was.
    int buttonWidth = children.ButtonSize().cx;
    int buttonHeight = children.ButtonSize().cy;
    std::array<ButtonPictures, kv::kSkinButtonPictureFiles.size()> buttons;
    for (size_t b = 0; b < buttons.size(); ++b) {
        const kv::SkinButtonPictureFiles& files = kv::kSkinButtonPictureFiles[b];
        const char* const names[4] = {files.normal, files.pressed, files.over, files.disabled};
        for (size_t look = 0; look < 4; ++look) {
            const bool sized = b == 0 && look == 0;
            buttons[b].looks[look] = kv::LoadPictureFile(window, skinFile(names[look]),
                                                     sized ? &buttonWidth : nullptr,
                                                     sized ? &buttonHeight : nullptr);
        }
    }
    kv::TimelineMark("pictures end");
    children.SetButtonSize({buttonWidth, buttonHeight});
    children.SetBackground(std::move(background));
    for (size_t b = 0; b < buttons.size(); ++b) {
        if (kv::CxSkinButton* button = children.Button(IDC_BTN_RUN + static_cast<int>(b))) {
            auto& looks = buttons[b].looks;
            button->AssignPictures(std::move(looks[0]), std::move(looks[1]), std::move(looks[2]),
                                   std::move(looks[3]));
        }
    }

    children.SetText(IDC_FILE_NAME, target.fileName);
    children.SetText(IDC_ELAPSED_TIME, kFirstDuration);
    children.SetText(IDC_ODD_TIME, kFirstDuration);
    children.SetText(IDC_DOWN_SIZE, KilobyteText(0));
    children.SetText(IDC_PERCENT, PercentText(0));
    children.SetText(IDC_DOWN_STATUS, "");
    children.SetText(IDC_DOWN_SPEED, SpeedText(0));

    kv::TimelineMark("folder begin");
    char documents[MAX_PATH] = {};
    std::string folder = target.downloadFolder;
    if (::SHGetSpecialFolderPathA(window, documents, CSIDL_PERSONAL, FALSE)) folder = documents;
    controller.SetDownloadFolder(folder);
    kv::TimelineMark("folder end");

    // While a transfer runs the downloader is busy with it; the size it started with stands.
    if (!controller.downloading()) {
        int64_t size = 0;
        kv::TimelineMark("target size begin");
        const bool sized = context.downloader.QueryFileSize(target.url, size);
        kv::TimelineMark("target size end");
        if (sized) {
            target.fileSize = size;
        } else {
            target.fileSize = 0;
            ::PostMessageA(window, WM_INSTALLER_ERROR, 0, 0);
        }
    }
    children.SetText(IDC_FILE_SIZE, KilobyteText(target.fileSize));

    children.SetBarRange(0, 100);
    children.SetBarPosition(0);
    kv::TimelineMark("local state begin");
    controller.RefreshLocalState();
    kv::TimelineMark("local state end");
}

HRESULT LayoutSkinWindow(const SkinBuildContext& context) {
    return kv::LayoutSkin(MakeSkinPath(context.basePath, kv::kSkinDefinitionFile), context.children);
}

HRESULT CheckSkinDefinition(std::string& basePath) {
    CheckOnlyTarget target;
    return kv::LayoutSkin(MakeSkinPath(basePath, kv::kSkinDefinitionFile), target);
}
