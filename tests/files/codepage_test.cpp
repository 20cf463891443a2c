#include "base/codepage.h"

#include <gtest/gtest.h>

TEST(WideToAnsiExact, OnlyTextWithAnAnsiFormOfItsOwn) {
    // The tests run in code page 949.
    EXPECT_EQ(kv::WideToAnsiExact(L"스킨 파일.zip"), std::optional<std::string>("스킨 파일.zip"));
    EXPECT_EQ(kv::WideToAnsiExact(L""), std::optional<std::string>(""));
    EXPECT_EQ(kv::WideToAnsiExact(std::wstring(L"a\0b", 3)), std::optional<std::string>(std::string("a\0b", 3)));
    const wchar_t* const inexact[] = {
        L"..\u2215x",   // DIVISION SLASH, which a best fit may turn into '/'
        L"caf\u00e9",   // no form in code page 949: it would become '?', a wildcard
        L"\U0001F600",  // outside the basic plane
        L"a\xD800z",    // a lone surrogate
    };
    for (const wchar_t* text : inexact) EXPECT_FALSE(kv::WideToAnsiExact(text)) << kv::WideToUtf8(text);
}
