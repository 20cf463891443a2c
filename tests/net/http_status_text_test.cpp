// The status table and the engine's own texts, checked as code page 949 bytes: each is
// converted with the ANSI code page of the Korean locale and compared with UTF-16.
#include "base/codepage.h"
#include "net/engine_texts.h"
#include "net/http_status_text.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

std::wstring Wide(const std::string& ansi) { return kv::AnsiToWide(ansi); }

TEST(HttpStatusText, RowsOfTheTable) {
    ASSERT_EQ(949u, ::GetACP()) << "the tests run under the Korean locale";
    EXPECT_EQ(L"Not Found - 문서를 찾을 수 없습니다.", Wide(kv::HttpStatusText(404)));
    EXPECT_EQ(L"Bad Request - 서버가 요청사항을 이해하지 못했습니다(요청실패).",
              Wide(kv::HttpStatusText(400)));
    EXPECT_EQ(L"Proxy Authentication Required - 대리(Proxy) 인증이 필요합니다.",
              Wide(kv::HttpStatusText(407)));
    EXPECT_EQ(L"Not Implemented - 적용안됨웹 서버가 요청사항을 수행하는 데 필요한 기능을 지원하지 않습니다.",
              Wide(kv::HttpStatusText(501)));
    EXPECT_EQ(L"HTTP Version Not Supported.", Wide(kv::HttpStatusText(505)));
}

TEST(HttpStatusText, OtherStatusesGetTheGeneralText) {
    EXPECT_EQ(L"알수없는 HTTP 오류입니다.", Wide(kv::HttpStatusText(416)));
    EXPECT_EQ(L"알수없는 HTTP 오류입니다.", Wide(kv::HttpStatusText(599)));
    EXPECT_EQ(L"알수없는 HTTP 오류입니다.", Wide(kv::HttpStatusText(-1)));
}

TEST(EngineTexts, KoreanBytes) {
    EXPECT_EQ(L"URL 형식이 옳바르지 않습니다.", Wide(kv::kMalformedUrlText));
    EXPECT_EQ(L"알 수 없는 오류입니다.", Wide(kv::kUnknownErrorText));
    EXPECT_EQ(L"지정된 파일(http://h/a.zip)이 존재하지 않습니다.",
              Wide(kv::MissingFileText("http://h/a.zip")));
    EXPECT_EQ(L"지정된 파일의 크기를 알 수가 없습니다.\r\nX", Wide(kv::LengthFailureText("X")));
}

}  // namespace
