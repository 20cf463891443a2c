#include "net/engine_texts.h"

#include "net/http_response.h"

namespace kv {

const char kMalformedUrlText[] = "URL 형식이 옳바르지 않습니다.";
const char kUnknownErrorText[] = "알 수 없는 오류입니다.";
const char kTruncatedBodyText[] = "서버와의 연결이 끊어져 파일을 끝까지 받지 못했습니다.";
const char kSilentServerText[] = "서버의 응답이 없어 연결을 끊었습니다.";
const char kMalformedChunksText[] = "서버가 보낸 청크 형식이 올바르지 않습니다.";
const char kUntrustedCertificateText[] = "서버의 인증서를 신뢰할 수 없습니다.";
const char kWrongNameCertificateText[] = "서버의 인증서가 접속한 주소의 것이 아닙니다.";
const char kCertificateDatesText[] = "서버의 인증서가 만료되었거나 아직 유효하지 않습니다.";
const char kHandshakeFailedText[] = "서버와 보안 연결을 맺지 못했습니다.";
const char kHandshakeClosedText[] = "보안 연결을 맺는 중에 서버가 연결을 끊었습니다.";
const char kInsecureRedirectText[] = "보안 연결(https)에서 보안되지 않은 연결(http)로 이동할 수 없습니다.";

std::string StatusLineFailureText(std::string_view block) {
    return "HTTP 응답 코드를 분석할 수 없습니다.\r\n" + BlockText(block);
}

std::string LengthFailureText(std::string_view block) {
    return "지정된 파일의 크기를 알 수가 없습니다.\r\n" + BlockText(block);
}

std::string MissingFileText(const std::string& url) {
    return "지정된 파일(" + url + ")이 존재하지 않습니다.";
}

std::string RangeMismatchText(std::string_view header) {
    return "서버가 이어받을 위치가 아닌 곳부터 보냈습니다.\r\n" + BlockText(header);
}

std::string TransferCodingText(std::string_view header) {
    return "지원하지 않는 전송 방식입니다.\r\n" + BlockText(header);
}

}  // namespace kv
