// The download engine's own failure texts (code page 949), and the ones that quote a
// response block or a URL. Plain bytes only: no system headers.
#pragma once

#include <string>
#include <string_view>

namespace kv {

extern const char kMalformedUrlText[];     // code -1; also a URL with blanks or controls
extern const char kUnknownErrorText[];     // the system has no message for its code
extern const char kTruncatedBodyText[];    // code -1: the server closed before the end
extern const char kSilentServerText[];     // WSAETIMEDOUT: the server stopped sending
extern const char kMalformedChunksText[];  // code -1: broken chunked framing
// The secure connection's failures; the codes are the system's (see tls_connection.h).
extern const char kUntrustedCertificateText[];  // the chain ends in no trusted root
extern const char kWrongNameCertificateText[];  // the certificate is for another name
extern const char kCertificateDatesText[];      // expired or not yet valid
extern const char kHandshakeFailedText[];       // the handshake was refused or broken
extern const char kHandshakeClosedText[];       // the server closed during the handshake
extern const char kInsecureRedirectText[];      // code -1: a secure URL redirected to plain

std::string StatusLineFailureText(std::string_view block);   // code -1
std::string LengthFailureText(std::string_view block);       // code -1
std::string MissingFileText(const std::string& url);         // code 404
std::string RangeMismatchText(std::string_view header);      // code -1: 206 from elsewhere
std::string TransferCodingText(std::string_view header);     // code -1: not chunked

}  // namespace kv
