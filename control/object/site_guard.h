// SiteGuard: whether the page that holds the control is one of the allowed sites. It judges
// the page's address when the client site is set and again when Init runs; a control on a
// page it refuses does nothing for script and is declared unsafe to every host that asks.
#pragma once

#include <ole2.h>

#include <optional>
#include <string>

namespace kv {

class SiteGuard {
public:
    // Asks `site` (null: no site) for the page's address and judges it against the list in force.
    void Judge(IOleClientSite* site);

    // The verdict on the page last judged; before any site was set, on a page without address.
    [[nodiscard]] bool Allowed();

    // S_OK on an allowed page; otherwise E_ACCESSDENIED with an error object that tells
    // script why.
    [[nodiscard]] HRESULT RefuseIfNotAllowed();

private:
    std::optional<bool> allowed_;
};

}  // namespace kv
