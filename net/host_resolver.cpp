#include "net/host_resolver.h"

#include "base/ansi_text.h"

#include <winsock2.h>

#include <cstring>

namespace kv {

bool ResolveHostAddress(std::string& hostAddress) {
    if (::inet_addr(hostAddress.c_str()) != INADDR_NONE) return true;
    const hostent* entry = ::gethostbyname(hostAddress.c_str());
    if (!entry) return false;
    if (entry->h_addrtype != AF_INET || !entry->h_addr_list[0]) {
        ::WSASetLastError(WSANO_DATA);  // a name without an IPv4 address
        return false;
    }
    in_addr first;
    std::memcpy(&first, entry->h_addr_list[0], sizeof first);
    char dotted[512] = {};
    std::strncpy(dotted, ::inet_ntoa(first), sizeof dotted - 1);
    hostAddress = TrimBlanks(dotted);
    return true;
}

}  // namespace kv
