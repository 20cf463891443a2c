#include "control/download/failure.h"

#include "control/object/error_report.h"
#include "net/last_error.h"

namespace kv {

Failure TakeEngineFailure() { return {FailureKind::Engine, lastErrorCode, lastErrorText}; }

std::string DescribeFailure(const Failure& failure) {
    return FormatErrorDescription(failure.code, failure.text);
}

}  // namespace kv
