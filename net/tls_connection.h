// A TLS connection over a TCP connection, through the system's security package
// (SChannel, by SSPI): TLS 1.2, the server's name sent, the certificate checked by the
// system against that name. The download engine uses it as any other connection.
#pragma once

#include "net/connection.h"

#include <cstdint>
#include <string>

namespace kv {

// Why a secure connection could not be opened: the code and text a failure report takes.
// Certificate failures carry the chain policy's code (CERT_E_UNTRUSTEDROOT, CERT_E_CN_NO_MATCH,
// CERT_E_EXPIRED, ...), a refused or broken handshake the security package's status, a
// server that closed during the handshake WSAECONNRESET, a silent one WSAETIMEDOUT.
struct TlsFailure {
    int32_t code = 0;
    std::string text;
};

// Runs the handshake over tcp for hostName (lower case, as in the Host line), waiting at
// most waitMilliseconds for each piece the server sends, and checks the certificate.
// Null with failure set when the connection cannot be used; tcp is closed then.
ConnectionPtr StartTls(ConnectionPtr tcp, const std::string& hostName, int waitMilliseconds,
                       TlsFailure& failure);

}  // namespace kv
