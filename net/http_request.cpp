#include "net/http_request.h"

namespace kv {

std::string PlainRequest(const std::string& path, const std::string& hostName) {
    return "GET " + path + " HTTP/1.1\r\nHost: " + hostName + "\r\n\r\n";
}

std::string RangedRequest(const std::string& path, const std::string& hostName, int64_t offset) {
    return "GET " + path + " HTTP/1.1\r\nRange: bytes=" + std::to_string(offset) +
           "-\r\nHost: " + hostName + "\r\n\r\n";
}

}  // namespace kv
