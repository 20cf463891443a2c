// URL splitting and the ANSI text helpers it rests on.
#include "base/ansi_text.h"
#include "net/url_split.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

struct UrlCase {
    const char* url;
    const char* hostName;
    uint16_t port;
    const char* path;
};

// Why each row matters: the host goes into the Host line in lower case, the path keeps
// the case the server's file system may care about.
const UrlCase kCases[] = {
    {"http://WWW.Example.COM:8080/Dir/File.EXE?Name=Value&X=Y", "www.example.com", 8080,
     "/Dir/File.EXE?Name=Value&X=Y"},
    {"http://Example.com", "example.com", 80, ""},
    {"http://127.0.0.1:3128/a/b.zip", "127.0.0.1", 3128, "/a/b.zip"},
    {"http:// Example.com /file.bin", "example.com", 80, "/file.bin"},
    {"example.com/file.bin", "example.com", 80, "/file.bin"},
    // A colon in the path or the query is data, not a port.
    {"http://host/a:b", "host", 80, "/a:b"},
    {"http://host/list?time=12:30", "host", 80, "/list?time=12:30"},
    // The port's text again further on stays in the path.
    {"http://host:81/x:81/Y", "host", 81, "/x:81/Y"},
};

TEST(SplitUrl, Table) {
    for (const UrlCase& c : kCases) {
        SCOPED_TRACE(c.url);
        kv::UrlParts parts;
        ASSERT_TRUE(kv::SplitUrl(c.url, parts));
        EXPECT_EQ(c.hostName, parts.hostName);
        EXPECT_EQ(c.hostName, parts.hostAddress);
        EXPECT_EQ(c.port, parts.port);
        EXPECT_EQ(c.path, parts.path);
    }
}

TEST(SplitUrl, SchemeOfTheHostDecidesTls) {
    struct SchemeCase {
        const char* url;
        bool secure;
        uint16_t port;
        const char* hostName;
    };
    const SchemeCase kSchemes[] = {
        {"https://Secure.Example.com/Setup.exe", true, 443, "secure.example.com"},
        {"HTTPS://host:8443/a", true, 8443, "host"},
        {"http://host/a", false, 80, "host"},
        // An https:// further on is data; it does not make the URL secure.
        {"http://host/go?to=https://other/", false, 80, "host"},
        // Nor can a later http:// make a secure URL plain, or lend it its port.
        {"https://host/go?to=http://other:81/", true, 443, "host"},
    };
    for (const SchemeCase& c : kSchemes) {
        SCOPED_TRACE(c.url);
        kv::UrlParts parts;
        ASSERT_TRUE(kv::SplitUrl(c.url, parts));
        EXPECT_EQ(c.secure, parts.secure);
        EXPECT_EQ(c.port, parts.port);
        EXPECT_EQ(c.hostName, parts.hostName);
    }
}

TEST(SplitUrl, PortWithoutSlashIsMalformed) {
    kv::UrlParts parts;
    EXPECT_FALSE(kv::SplitUrl("http://example.com:8080", parts));
    EXPECT_FALSE(kv::SplitUrl("HTTPS://Example.com:", parts));
}

TEST(SplitUrl, BlanksAndControlsInHostOrPathAreRefused) {
    // Each would put bytes of the page's choosing into the request's lines.
    const char* const kRefused[] = {
        "http://host/a\r\nX-Injected: 1", "http://host/a\nb", "http://ho\rst/a",
        "http://host/a b.zip", "http://host/a\tb", "http://host/a\x7f", "http://host/a\x01b",
        "http://host:81/a\r\nb",
    };
    for (const char* url : kRefused) {
        kv::UrlParts parts;
        EXPECT_FALSE(kv::SplitUrl(url, parts)) << url;
    }
}

TEST(SplitUrl, KoreanPathKeepsItsBytes) {
    kv::UrlParts parts;
    ASSERT_TRUE(kv::SplitUrl("http://Host/스킨/Skin파일.zip", parts));
    EXPECT_EQ("host", parts.hostName);
    EXPECT_EQ(std::string("/스킨/Skin파일.zip"), parts.path);
}

TEST(LowerAnsi, LeavesDoubleByteCharactersAlone) {
    // In code page 949 "갂" is 0x81 0x41: its trail byte is an "A" that must stay.
    const std::string text = "갂AB";
    ASSERT_EQ(4u, text.size());
    ASSERT_EQ('\x81', text[0]);
    EXPECT_EQ(std::string("갂ab"), kv::LowerAnsi(text));
    EXPECT_EQ("mixed case 123", kv::LowerAnsi("MiXeD CaSe 123"));
}

TEST(TrimBlanks, BothEnds) {
    EXPECT_EQ("a b", kv::TrimBlanks(" \t a b \r\n"));
    EXPECT_EQ("", kv::TrimBlanks(" \r\n "));
    EXPECT_EQ(std::string("한글"), kv::TrimBlanks("  한글 "));
}

TEST(LeadingInt64, LikeAtoiButSixtyFourBits) {
    EXPECT_EQ(8080, kv::LeadingInt64("8080"));
    EXPECT_EQ(0, kv::LeadingInt64("abc"));
    EXPECT_EQ(12, kv::LeadingInt64("  12xyz"));
    EXPECT_EQ(-5, kv::LeadingInt64("-5"));
    EXPECT_EQ(INT64_C(5368709120), kv::LeadingInt64("5368709120"));
    EXPECT_EQ(INT64_MAX, kv::LeadingInt64("99999999999999999999999"));
}

}  // namespace
