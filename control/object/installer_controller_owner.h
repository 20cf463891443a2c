// The control object as the download controller sees it: error reports for script, OnClose,
// the message boxes and the folder dialog owned by the control window, and the object's life.
#pragma once

#include "control/download/controller_owner.h"

struct CEmbeddingState;
class CProxy_IInstallerEvents;

class CInstallerControllerOwner final : public ControllerOwner {
public:
    CInstallerControllerOwner(IUnknown* controlling, CProxy_IInstallerEvents& events,
                              const CEmbeddingState& embedding)
        : controlling_(controlling), events_(events), embedding_(embedding) {}

    HRESULT ReportError(int32_t code, const std::string& text) override;
    void FireOnClose() override;
    int ShowMessageBox(const std::string& text, const char* caption, UINT style) override;
    std::optional<std::string> ChooseFolder() override;
    kv::ComPtr<IUnknown> KeepAlive() override;

private:
    // The control window if it exists, else the window of the host's in-place site.
    HWND DialogOwner() const;

    IUnknown* controlling_;
    CProxy_IInstallerEvents& events_;
    const CEmbeddingState& embedding_;
};
