// What a download makes of the header of the answer to its ranged request: whether the
// body belongs after the local file's bytes, replaces them, or may not be written at all,
// and how the body is framed. Plain bytes only: no system headers.
#pragma once

#include "net/response_body.h"

#include <cstdint>
#include <string_view>

namespace kv {

enum class AnswerUse {
    Append,         // 206 from the offset asked for, or 200 to a request from offset 0
    StartOver,      // 200 to a request from a later offset: the whole file comes again
    WrongStatus,    // any other status carries no file
    WrongRange,     // 206 without a Content-Range that starts at the offset asked for
    UnknownCoding,  // a transfer coding other than chunked
};

struct DownloadAnswer {
    AnswerUse use = AnswerUse::WrongStatus;
    ResponseBody body;
};

// `status` is the status line's code, `header` the header section up to its empty line,
// `offset` the start the Range line asked for.
DownloadAnswer JudgeDownloadAnswer(int status, std::string_view header, int64_t offset);

// True when the header section names any transfer coding: such an answer has no size.
bool HasTransferCoding(std::string_view header);

}  // namespace kv
