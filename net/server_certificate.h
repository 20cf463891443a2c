// The system's verdict on a server's certificate: the chain built by the system and
// checked with the SSL policy against the name the client asked for.
#pragma once

#include <windows.h>
#include <wincrypt.h>

#include <cstdint>
#include <string>

namespace kv {

struct TlsFailure;

// True when certificate (with the intermediates the server sent in its store) chains to a
// trusted root, is within its dates and names serverName; otherwise false with failure set.
bool CheckServerCertificate(PCCERT_CONTEXT certificate, const std::string& serverName,
                            TlsFailure& failure);

}  // namespace kv
