#include "net/engine_texts.h"

#include "net/http_response.h"

namespace kv {

const char kMalformedUrlText[] = "URL 형식이 옳바르지 않습니다.";
const char kUnknownErrorText[] = "알 수 없는 오류입니다.";
const char kTruncatedBodyText[] = "서버와의 연결이 끊어져 파일을 끝까지 받지 못했습니다.";

std::string StatusLineFailureText(std::string_view block) {
    return "HTTP 응답 코드를 분석할 수 없습니다.\r\n" + BlockText(block);
}

std::string LengthFailureText(std::string_view block) {
    return "지정된 파일의 크기를 알 수가 없습니다.\r\n" + BlockText(block);
}

std::string MissingFileText(const std::string& url) {
    return "지정된 파일(" + url + ")이 존재하지 않습니다.";
}

}  // namespace kv
