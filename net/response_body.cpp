#include "net/response_body.h"

namespace kv {

size_t ResponseBody::Take(char* piece, size_t size) {
    switch (framing_) {
    case Framing::UntilClose:
        return size;
    case Framing::Length: {
        const size_t take = static_cast<uint64_t>(left_) < size ? static_cast<size_t>(left_) : size;
        left_ -= static_cast<int64_t>(take);
        return take;
    }
    case Framing::Chunked:
        return chunks_.Decode(piece, size);
    }
    return 0;
}

bool ResponseBody::Complete() const {
    switch (framing_) {
    case Framing::UntilClose:
        return false;
    case Framing::Length:
        return left_ == 0;
    case Framing::Chunked:
        return chunks_.Done();
    }
    return false;
}

}  // namespace kv
