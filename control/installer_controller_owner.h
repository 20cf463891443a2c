// The control object as the download controller sees it: error reports, OnClose, the
// message boxes and the folder dialog owned by the control window, and the object's life.
#pragma once

#include "control/controller_owner.h"

class CInstaller;

class CInstallerControllerOwner final : public ControllerOwner {
public:
    explicit CInstallerControllerOwner(CInstaller& installer) : installer_(installer) {}

    HRESULT ReportError(int32_t code, const std::string& text) override;
    void FireOnClose() override;
    int ShowMessageBox(const std::string& text, const char* caption, UINT style) override;
    std::optional<std::string> ChooseFolder() override;
    kv::ComPtr<IUnknown> KeepAlive() override;

private:
    // The control window if it exists, else the window of the host's in-place site.
    HWND DialogOwner() const;

    CInstaller& installer_;
};
