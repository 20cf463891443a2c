#include "control/installer_controller_owner.h"

#include "control/error_report.h"
#include "control/installer.h"
#include "skin/folder_chooser.h"

HRESULT CInstallerControllerOwner::ReportError(int32_t code, const std::string& text) {
    return ::ReportError(code, text);
}

void CInstallerControllerOwner::FireOnClose() { installer_.FireOnClose(); }

int CInstallerControllerOwner::ShowMessageBox(const std::string& text, const char* caption, UINT style) {
    return ::MessageBoxA(DialogOwner(), text.c_str(), caption, style);
}

std::optional<std::string> CInstallerControllerOwner::ChooseFolder() {
    return kv::BrowseForFolder(DialogOwner());
}

kv::ComPtr<IUnknown> CInstallerControllerOwner::KeepAlive() {
    return kv::ComPtr<IUnknown>(installer_.Controlling());
}

HWND CInstallerControllerOwner::DialogOwner() const {
    const CEmbeddingState& e = installer_.embedding;
    if (e.window) return e.window.get();
    HWND site = nullptr;
    if (e.inPlaceSite && SUCCEEDED(e.inPlaceSite->GetWindow(&site))) return site;
    return nullptr;
}
