// The address of the page that holds the control, as the browser tells it through the
// control's client site.
#pragma once

#include <ole2.h>

#include <string>

namespace kv {

// The page's address in UTF-8: the display name of the container's moniker, or else the URL
// of the document that contains the control. Empty when the site tells neither. The top-level
// browser's address is not asked for: in a frame it names another page than the one whose
// script drives the control.
[[nodiscard]] std::string PageAddressOf(IOleClientSite* site);

}  // namespace kv
