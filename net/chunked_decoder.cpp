#include "net/chunked_decoder.h"

#include <cstring>

namespace kv {
namespace {

// Sizes beyond what a signed 64-bit count can hold are refused rather than wrapped.
constexpr uint64_t kLargestChunk = UINT64_C(0x7FFFFFFFFFFFFFFF);

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

size_t ChunkedDecoder::Decode(char* data, size_t size) {
    size_t out = 0;
    size_t in = 0;
    while (in < size && state_ != State::Done && state_ != State::Failed) {
        if (state_ == State::Data) {
            const uint64_t left = size - in;
            const size_t take = static_cast<size_t>(value_ < left ? value_ : left);
            // The output never runs ahead of the input, so the move stays inside data.
            if (out != in) std::memmove(data + out, data + in, take);
            out += take;
            in += take;
            value_ -= take;
            if (value_ == 0) state_ = State::DataCr;
            continue;
        }
        if (!Step(data[in++])) state_ = State::Failed;
    }
    return out;
}

bool ChunkedDecoder::Step(char c) {
    switch (state_) {
    case State::Size:
        if (const int digit = HexValue(c); digit >= 0) {
            if (value_ > (kLargestChunk >> 4)) return false;
            value_ = value_ * 16 + static_cast<uint64_t>(digit);
            sawDigit_ = true;
            return true;
        }
        if (!sawDigit_) return false;
        if (IsBlank(c)) state_ = State::SizeBlank;
        else if (c == ';') state_ = State::Extension;
        else if (c == '\r') state_ = State::SizeLf;
        else return false;
        return true;
    case State::SizeBlank:
        if (IsBlank(c)) return true;
        if (c == ';') state_ = State::Extension;
        else if (c == '\r') state_ = State::SizeLf;
        else return false;
        return true;
    case State::Extension:
        if (c == '\n') return false;
        if (c == '\r') state_ = State::SizeLf;
        return true;
    case State::SizeLf:
        if (c != '\n') return false;
        sawDigit_ = false;
        state_ = value_ == 0 ? State::TrailerStart : State::Data;
        return true;
    case State::DataCr:
        if (c != '\r') return false;
        state_ = State::DataLf;
        return true;
    case State::DataLf:
        if (c != '\n') return false;
        state_ = State::Size;
        return true;
    case State::TrailerStart:
        if (c == '\n') return false;
        state_ = c == '\r' ? State::EndLf : State::Trailer;
        return true;
    case State::Trailer:
        if (c == '\n') return false;
        if (c == '\r') state_ = State::TrailerLf;
        return true;
    case State::TrailerLf:
        if (c != '\n') return false;
        state_ = State::TrailerStart;
        return true;
    case State::EndLf:
        if (c != '\n') return false;
        state_ = State::Done;
        return true;
    case State::Data:
    case State::Done:
    case State::Failed:
        break;
    }
    return false;
}

}  // namespace kv
