// Fuzz target: an allowed-sites entry (the first line) against a page address (the rest),
// as a package, a policy and a browser give them.
#include "control/object/site_rules.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t newline = input.find('\n');
    const std::string entryText = input.substr(0, newline);
    const std::string address = newline == std::string::npos ? std::string() : input.substr(newline + 1);
    std::string problem;
    const std::optional<kv::SiteEntry> entry = kv::ReadSiteEntry(entryText, problem);
    const std::optional<kv::PageOrigin> origin = kv::ReadPageOrigin(address);
    if (entry && origin && kv::EntryAllows(*entry, *origin) && !entry->localFiles) {
        // An allowed page's host is the entry's host or lies below it at a dot.
        const std::string& host = origin->host;
        const std::string& domain = entry->host;
        if (host.size() < domain.size() || host.compare(host.size() - domain.size(), domain.size(), domain) != 0)
            __builtin_trap();
        if (host.size() > domain.size() && host[host.size() - domain.size() - 1] != '.') __builtin_trap();
        if (origin->scheme != entry->scheme) __builtin_trap();
    }
    if (!entry && problem.empty()) __builtin_trap();
    (void)kv::SiteListAllows({entryText}, address, nullptr);
    return 0;
}
