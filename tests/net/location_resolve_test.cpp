// Resolving a redirect's Location against the URL it answered.
#include "net/location_resolve.h"

#include <gtest/gtest.h>

namespace {

TEST(ResolveLocation, Table) {
    const char* const base = "https://Host:8443/dir/sub/file.bin?x=1#top";
    const struct {
        const char* location;
        const char* expected;
    } kCases[] = {
        {"http://other/a.bin", "http://other/a.bin"},    // whole URLs stay as they are
        {"ftp:x", "ftp:x"},
        {"//cdn.example/a.bin", "https://cdn.example/a.bin"},
        {"/a.bin", "https://Host:8443/a.bin"},
        {"/a/../b/./c.bin?q=../x", "https://Host:8443/b/c.bin?q=../x"},
        {"new.bin", "https://Host:8443/dir/sub/new.bin"},
        {"../up.bin", "https://Host:8443/dir/up.bin"},
        {"../../../../top.bin", "https://Host:8443/top.bin"},  // never above the root
        {"./", "https://Host:8443/dir/sub/"},
        {"?y=2", "https://Host:8443/dir/sub/file.bin?y=2"},
        {"#end", "https://Host:8443/dir/sub/file.bin?x=1#end"},
        {"", ""},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.location);
        EXPECT_EQ(c.expected, kv::ResolveLocation(base, c.location));
    }
}

TEST(ResolveLocation, BaseWithoutPath) {
    EXPECT_EQ("http://host/a.bin", kv::ResolveLocation("http://host", "a.bin"));
    EXPECT_EQ("http://host/?q", kv::ResolveLocation("http://host", "?q"));
    EXPECT_EQ("host/a.bin", kv::ResolveLocation("host", "/a.bin"));
}

}  // namespace
