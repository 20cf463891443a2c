// The rules that decide whether a page's address is one of the sites a publisher or an
// administrator allows: the entries of an allowed-sites list, the page address as the
// browser gives it, and the match between the two. Functions over plain text only.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// One entry of a list, as read from "scheme://host[:port]", "scheme://*.host[:port]" or
// "file://". Scheme and host are lower case, without a trailing dot.
struct SiteEntry {
    bool localFiles = false;      // "file://": pages opened from the local disk
    std::string scheme;
    std::string host;             // an IPv6 literal keeps its brackets
    bool subdomainsOnly = false;  // "*." before the host
    bool hostIsAddress = false;   // an IP literal: it matches only itself
    std::optional<uint16_t> port; // absent: any port
};

// The page's address, reduced to what the entries judge.
struct PageOrigin {
    bool localFile = false;  // a file on the local disk (file:///..., file://localhost/..., C:\...)
    std::string scheme;
    std::string host;
    bool hostIsAddress = false;
    std::optional<uint16_t> port;  // explicit, or the scheme's default (http 80, https 443)
};

// The entry read from `text`, or nothing with `problem` saying why it cannot be read.
[[nodiscard]] std::optional<SiteEntry> ReadSiteEntry(std::string_view text, std::string& problem);

// The origin of a page address; nothing when the address cannot be read.
[[nodiscard]] std::optional<PageOrigin> ReadPageOrigin(std::string_view address);

[[nodiscard]] bool EntryAllows(const SiteEntry& entry, const PageOrigin& origin);

// Whether the page at `address` is allowed by the list `entries`. An empty address (no page
// address known) counts as a page from the local disk; an address that cannot be read
// matches nothing. Each entry that cannot be read is left out and told to `ignored` with the
// reason.
using IgnoredEntry = std::function<void(std::string_view entry, const std::string& problem)>;
[[nodiscard]] bool SiteListAllows(const std::vector<std::string>& entries, std::string_view address,
                                  const IgnoredEntry& ignored);

}  // namespace kv
