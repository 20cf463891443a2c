#include "net/header_receiver.h"

#include "net/http_response.h"

#include <string_view>

namespace kv {

int ReceiveHeaderBlock(Connection& connection, char* block, int capacity, int waitMilliseconds) {
    int count = 0;
    while (count < capacity) {
        const int n = connection.ReceiveWithin(block + count, capacity - count, waitMilliseconds);
        if (n == kNothingArrived) return kNothingArrived;
        if (n < 0) {
            if (count == 0) return -1;
            break;
        }
        if (n == 0) break;
        count += n;
        if (HeaderEndOf(std::string_view(block, static_cast<size_t>(count))) != std::string_view::npos)
            break;
    }
    block[count] = '\0';
    return count;
}

}  // namespace kv
