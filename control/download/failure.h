// A failure as a value: where it came from, its code and its text, handed back by the call
// that failed. Inside the control nothing reads a failure later from a shared place; the
// process-wide last error of the engine is turned into a value right where a call returns.
#pragma once

#include <cstdint>
#include <string>

namespace kv {

enum class FailureKind {
    Engine,   // the download engine: an HTTP status, a Win32 or Winsock code, or -1 for an
              // answer that broke the protocol, as its text says
    Archive,  // the fetched skin archive could not be put in place: a Win32 code
    Control,  // the control's own refusal: a COM result code
};

struct Failure {
    FailureKind kind = FailureKind::Engine;
    int32_t code = 0;
    std::string text;
};

// The engine's failure left by the call that has just returned false.
Failure TakeEngineFailure();

// The description of a failure, for script, the status line and the error box.
std::string DescribeFailure(const Failure& failure);

}  // namespace kv

// "%s(%ld)": the text, then the code as a signed decimal number in parentheses.
std::string FormatErrorDescription(int32_t code, const std::string& text);
