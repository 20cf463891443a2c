#include "control/download/failure.h"

#include "net/last_error.h"

#include <cstdio>

std::string FormatErrorDescription(int32_t code, const std::string& text) {
    char number[16];
    std::snprintf(number, sizeof number, "(%ld)", static_cast<long>(code));
    return text + number;
}

namespace kv {

Failure TakeEngineFailure() { return {FailureKind::Engine, lastErrorCode, lastErrorText}; }

std::string DescribeFailure(const Failure& failure) {
    return FormatErrorDescription(failure.code, failure.text);
}

}  // namespace kv
