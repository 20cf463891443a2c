// The allowed-sites rules over plain text: reading entries, reading page addresses and the
// match, with the lookalikes a page from another site would try.
#include "control/object/allowed_sites.h"
#include "control/object/site_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool Allows(const std::vector<std::string>& entries, const char* address) {
    return kv::SiteListAllows(entries, address, nullptr);
}

struct MatchCase {
    const char* entry;
    const char* address;
    bool allowed;
};

const MatchCase kMatches[] = {
    // The host with every subdomain, the entry's scheme only, any port.
    {"https://example.com", "https://example.com/", true},
    {"https://example.com", "https://example.com:8443/app/page.html?x=1#y", true},
    {"https://example.com", "https://foo.example.com/", true},
    {"https://example.com", "https://a.b.example.com/", true},
    {"https://example.com", "http://example.com/", false},
    {"https://example.com/", "https://shop.example.com/", true},
    // Lookalikes: a subdomain only at a dot boundary.
    {"https://example.com", "https://myexample.com/", false},
    {"https://example.com", "https://example.com.attacker.net/", false},
    {"https://example.com", "https://example.co/", false},
    {"https://example.com", "https://examplexcom/", false},
    // User information names no host.
    {"https://example.com", "https://example.com@attacker.net/", false},
    {"https://example.com", "https://user:pw@example.com/", true},
    {"https://example.com", "https://a@example.com@attacker.net/", false},
    {"https://example.com", "https://example.com\\@attacker.net/", true},  // a backslash ends the host
    // Case and one trailing dot do not count.
    {"HTTPS://Example.COM", "https://EXAMPLE.com/", true},
    {"https://example.com.", "https://www.example.com./", true},
    {"https://example.com", "https://example.com../", false},
    // Subdomains only.
    {"https://*.example.com", "https://foo.example.com/", true},
    {"https://*.example.com", "https://example.com/", false},
    {"https://*.example.com", "https://myexample.com/", false},
    // A port, when named, must match; the scheme's own port counts when the page gives none.
    {"http://127.0.0.1:8080", "http://127.0.0.1:8080/page.html", true},
    {"http://127.0.0.1:8080", "http://127.0.0.1:8081/", false},
    {"http://127.0.0.1:8080", "http://127.0.0.1/", false},
    {"http://example.com:80", "http://example.com/", true},
    {"https://example.com:443", "https://example.com:444/", false},
    // An IP address matches only itself, in either place.
    {"http://127.0.0.1", "http://127.0.0.1:9000/", true},
    {"http://127.0.0.1", "http://evil.127.0.0.1/", false},
    {"http://0.0.1", "http://127.0.0.1/", false},
    {"http://1.2.3.4", "http://1.2.3.40/", false},
    {"http://[::1]", "http://[::1]:8080/", true},
    {"http://[::1]", "http://[::2]/", false},
    {"http://127.0.0.1", "http://2130706433/", false},
    // Pages from the local disk.
    {"file://", "file:///C:/pages/index.html", true},
    {"file:///", "file://localhost/C:/pages/index.html", true},
    {"file://", "C:\\pages\\index.html", true},
    {"file://", "file://server/share/index.html", false},
    {"file://", "https://example.com/", false},
    {"https://example.com", "file:///C:/pages/example.com/index.html", false},
    // No address: only file:// allows it. An address that cannot be read matches nothing.
    {"file://", "", true},
    {"https://example.com", "", false},
    {"https://example.com", "about:blank", false},
    {"https://example.com", "https://example.com:99999/", false},
    {"https://example.com", "https://exa mple.com/", false},
};

TEST(SiteRules, MatchesPagesAgainstEntries) {
    for (const MatchCase& c : kMatches) {
        EXPECT_EQ(c.allowed, Allows({c.entry}, c.address)) << c.entry << " / " << c.address;
    }
}

TEST(SiteRules, UnreadableEntriesAreIgnoredAndNeverWiden) {
    const char* unreadable[] = {
        "", "example.com", "https:example.com", "https://", "https://*.", "https://ex*ample.com",
        "https://example.com/app", "https://example.com?x", "https://user@example.com",
        "https://example.com:0", "https://example.com:65536", "https://example.com:http",
        "https://*.127.0.0.1", "https://[::1", "https://exa mple.com", "file://server/share",
        "file:///C:/pages", "https://1.2.3", "https://example..com",
    };
    for (const char* entry : unreadable) {
        std::vector<std::string> told;
        const bool allowed = kv::SiteListAllows({entry, "https://example.net"}, "https://example.com/app/x",
                                                [&](std::string_view e, const std::string& problem) {
                                                    told.push_back(std::string(e) + ": " + problem);
                                                });
        EXPECT_FALSE(allowed) << entry;
        ASSERT_EQ(1u, told.size()) << entry;
        EXPECT_EQ(0u, told[0].rfind(std::string(entry) + ": ", 0)) << told[0];
    }
    // One unreadable entry does not stop a good one.
    EXPECT_TRUE(Allows({"https://example.com/app", "https://example.com"}, "https://example.com/app/"));
    // A list with no readable entry allows no site.
    EXPECT_FALSE(Allows({"nonsense"}, ""));
    EXPECT_FALSE(Allows({}, "https://example.com/"));
}

TEST(SiteRules, ReadsThePackedListResource) {
    const std::string magic(kv::kPackedSitesMagic);
    EXPECT_FALSE(kv::ReadPackedSites(magic + std::string(100, '\0')));  // the build's: no list
    EXPECT_FALSE(kv::ReadPackedSites(""));
    EXPECT_FALSE(kv::ReadPackedSites("https://example.com\n"));
    const auto list = kv::ReadPackedSites(magic + "https://example.com\r\nfile://\n" + std::string(8, '\0') + "x\n");
    ASSERT_TRUE(list);
    EXPECT_EQ((std::vector<std::string>{"https://example.com", "file://"}), *list);
}

}  // namespace
