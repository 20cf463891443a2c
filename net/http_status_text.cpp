#include "net/http_status_text.h"

namespace kv {
namespace {

struct StatusRow {
    int status;
    const char* text;
};

constexpr StatusRow kRows[] = {
    {400, "Bad Request - 서버가 요청사항을 이해하지 못했습니다(요청실패)."},
    {401, "Unauthorized - 권한이 없습니다."},
    {402, "Payment Required - 예약된 요청입니다."},
    {403, "Forbidden - 접근 금지되었습니다."},
    {404, "Not Found - 문서를 찾을 수 없습니다."},
    {405, "Method not allowed - 요청한 메서드를 허용하지 않습니다."},
    {406, "Not Acceptable - 받아들일 수 없는 요청입니다."},
    {407, "Proxy Authentication Required - 대리(Proxy) 인증이 필요합니다."},
    {408, "Request timeout - 요청시간이 지났습니다."},
    {409, "Conflict."},
    {410, "Gone - 영구적으로 사용할 수 없습니다."},
    {411, "Length Required."},
    {412, "Precondition Failed - 선결조건에 실패했습니다."},
    {413, "Request entity too large - 요청 개체가 너무 큽니다."},
    {414, "Request-URI too long - 요청한 URI가 너무 깁니다."},
    {415, "Unsupported media type - 지원되지 않는 미디어 유형입니다."},
    {500, "Internal Server Error - 서버 내부 오류로 인해 웹 서버가 요청사항을 수행할 수 없습니다."},
    {501, "Not Implemented - 적용안됨웹 서버가 요청사항을 수행하는 데 필요한 기능을 지원하지 않습니다."},
    {502, "Bad gateway - 게이트웨이의 상태가 나쁘거나 서버가 과부하 상태입니다."},
    {503, "Service Unavailable - 외부 서비스가 다운되었거나 멈춘 상태 또는 이용할 수 없는 상태입니다."},
    {504, "Gateway timeout."},
    {505, "HTTP Version Not Supported."},
};

}  // namespace

const char* HttpStatusText(int status) {
    for (const StatusRow& row : kRows) {
        if (row.status == status) return row.text;
    }
    return "알수없는 HTTP 오류입니다.";
}

}  // namespace kv
