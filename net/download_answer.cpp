#include "net/download_answer.h"

#include "net/content_range.h"
#include "net/http_response.h"

#include <string>

namespace kv {

DownloadAnswer JudgeDownloadAnswer(int status, std::string_view header, int64_t offset) {
    DownloadAnswer answer;
    if (status == 200) {
        answer.use = offset > 0 ? AnswerUse::StartOver : AnswerUse::Append;
    } else if (status == 206) {
        std::string value;
        ContentRange range;
        // Bytes from any other place would be written where they do not belong.
        if (!HeaderFieldOf(header, "Content-Range", value) || !ParseContentRange(value, range) ||
            range.first != offset) {
            answer.use = AnswerUse::WrongRange;
            return answer;
        }
        answer.use = AnswerUse::Append;
    } else {
        answer.use = AnswerUse::WrongStatus;
        return answer;
    }

    std::string coding;
    if (HeaderFieldOf(header, "Transfer-Encoding", coding)) {
        // Only chunked framing is undone here; a compressed body saved as it came would
        // be a different file.
        if (!EqualsAnyCase(coding, "chunked")) answer.use = AnswerUse::UnknownCoding;
        else answer.body = ResponseBody::Chunked();
        return answer;
    }
    const int64_t length = ResponseLengthOf(header);
    answer.body = length >= 0 ? ResponseBody::OfLength(length) : ResponseBody::UntilClose();
    return answer;
}

bool HasTransferCoding(std::string_view header) {
    std::string coding;
    return HeaderFieldOf(header, "Transfer-Encoding", coding);
}

}  // namespace kv
