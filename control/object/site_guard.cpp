#include "control/object/site_guard.h"

#include "control/object/allowed_sites.h"
#include "control/object/error_report.h"
#include "control/object/page_address.h"
#include "control/object/server_state.h"
#include "control/object/site_rules.h"

namespace kv {
namespace {

constexpr char kRefusedSite[] = "이 사이트에서는 Korvendal을 사용할 수 없습니다.";

}  // namespace

void SiteGuard::Judge(IOleClientSite* site) {
    const std::optional<std::vector<std::string>> list = LoadAllowedSites(KorvendalModuleInstance());
    if (!list) {
        allowed_ = true;
        return;
    }
    const std::string address = PageAddressOf(site);
    allowed_ = SiteListAllows(*list, address, [](std::string_view entry, const std::string& problem) {
        WriteSiteDebugLine("allowed-site entry \"" + std::string(entry) + "\" ignored: " + problem);
    });
    if (!*allowed_) WriteSiteDebugLine("the page \"" + address + "\" is not on the allowed sites");
}

bool SiteGuard::Allowed() {
    if (!allowed_) Judge(nullptr);
    return *allowed_;
}

HRESULT SiteGuard::RefuseIfNotAllowed() {
    if (Allowed()) return S_OK;
    SetErrorDescription(kRefusedSite);
    return E_ACCESSDENIED;
}

}  // namespace kv
