#include "control/object/installer_controller_owner.h"

#include "control/object/embedding_state.h"
#include "control/object/error_report.h"
#include "control/object/installer_events.h"
#include "skin/folder_chooser.h"

HRESULT CInstallerControllerOwner::ReportError(int32_t code, const std::string& text) {
    return ::ReportError(code, text);
}

void CInstallerControllerOwner::FireOnClose() { events_.FireOnClose(); }

int CInstallerControllerOwner::ShowMessageBox(const std::string& text, const char* caption, UINT style) {
    return ::MessageBoxA(DialogOwner(), text.c_str(), caption, style);
}

std::optional<std::string> CInstallerControllerOwner::ChooseFolder() {
    return kv::BrowseForFolder(DialogOwner());
}

kv::ComPtr<IUnknown> CInstallerControllerOwner::KeepAlive() { return kv::ComPtr<IUnknown>(controlling_); }

HWND CInstallerControllerOwner::DialogOwner() const {
    if (embedding_.window) return embedding_.window.get();
    HWND site = nullptr;
    if (embedding_.inPlaceSite && SUCCEEDED(embedding_.inPlaceSite->GetWindow(&site))) return site;
    return nullptr;
}
