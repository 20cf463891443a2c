// The SSPI side of the secure connection: credentials, the handshake loop, record
// encryption and decryption. The bookkeeping of received bytes is TlsInbox's.
#include "net/tls_connection.h"

#include "net/engine_texts.h"
#include "net/server_certificate.h"
#include "net/system_message.h"
#include "net/tls_inbox.h"

#include <winsock2.h>
#include <windows.h>
#define SECURITY_WIN32
#include <schannel.h>
#include <security.h>
#include <sspi.h>

#include <algorithm>
#include <memory>
#include <string_view>
#include <utility>

namespace kv {
namespace {

constexpr DWORD kContextFlags = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT |
                                ISC_REQ_CONFIDENTIALITY | ISC_REQ_EXTENDED_ERROR |
                                ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM |
                                ISC_REQ_MANUAL_CRED_VALIDATION;
// A handshake takes a handful of round trips; a server that keeps it going longer is broken.
constexpr int kMaxHandshakeSteps = 64;
// Ciphertext is read in pieces of this size, several records at once.
constexpr size_t kReadSize = 128 * 1024;

// The security package's functions. secur32.dll is loaded on the first secure connection
// only, and stays: a process that speaks plain HTTP never loads it (Wine's secur32 starts
// the socket library for packages of its own as it loads).
PSecurityFunctionTableA LoadSspi() {
    const HMODULE module = ::LoadLibraryW(L"secur32.dll");
    if (!module) return nullptr;
    const auto start = reinterpret_cast<INIT_SECURITY_INTERFACE_A>(
        reinterpret_cast<void*>(::GetProcAddress(module, SECURITY_ENTRYPOINT_ANSIA)));
    return start ? start() : nullptr;
}

PSecurityFunctionTableA Sspi() {
    static const PSecurityFunctionTableA table = LoadSspi();
    return table;
}

// A token the security package allocated.
struct ContextBuffer {
    void* data = nullptr;
    ~ContextBuffer() {
        if (data) Sspi()->FreeContextBuffer(data);
    }
};

struct Credentials {
    CredHandle handle{};
    bool valid = false;
    ~Credentials() {
        if (valid) Sspi()->FreeCredentialsHandle(&handle);
    }
};

struct SecurityContext {
    CtxtHandle handle{};
    bool valid = false;
    ~SecurityContext() {
        if (valid) Sspi()->DeleteSecurityContext(&handle);
    }
};

struct CertificateDeleter {
    void operator()(PCCERT_CONTEXT certificate) const { ::CertFreeCertificateContext(certificate); }
};

class TlsConnection : public Connection {
public:
    TlsConnection(ConnectionPtr transport, std::string name)
        : tcp(std::move(transport)), hostName(std::move(name)) {}

    bool Handshake(int waitMilliseconds, TlsFailure& failure);
    bool Send(const char* buffer, int length, int flags) override;
    int ReceiveWithin(char* buffer, int capacity, int waitMilliseconds) override;
    bool Close() override;
    void ExpectHeaderOnly() override { tcp->ExpectHeaderOnly(); }

private:
    bool SendAll(const char* data, size_t length);
    bool SendToken(SecBuffer& token);
    // One more piece of ciphertext from the server: its count, 0, -1 or kNothingArrived.
    int ReceiveMore(int waitMilliseconds);
    bool HandshakeFailure(TlsFailure& failure, int32_t code, const char* text);
    bool ReceiveFailure(TlsFailure& failure, int received);
    // Decrypts the complete first record of the inbox; false with the socket library's
    // error set to the security package's status.
    bool DecryptRecord(size_t recordLength);

    ConnectionPtr tcp;
    std::string hostName;
    Credentials credentials;
    SecurityContext context;
    SecPkgContext_StreamSizes sizes{};
    TlsInbox inbox;
    bool established = false;
    bool peerClosed = false;
    int deferredError = 0;  // a failure met after some plaintext had been handed on
};

bool TlsConnection::HandshakeFailure(TlsFailure& failure, int32_t code, const char* text) {
    failure.code = code;
    failure.text = text;
    return false;
}

bool TlsConnection::ReceiveFailure(TlsFailure& failure, int received) {
    if (received == kNothingArrived) return HandshakeFailure(failure, WSAETIMEDOUT, kSilentServerText);
    const int error = ::WSAGetLastError();
    if (received == 0 || error == WSAECONNRESET || error == WSAECONNABORTED)
        return HandshakeFailure(failure, WSAECONNRESET, kHandshakeClosedText);
    failure.code = error;
    failure.text = SystemMessage(static_cast<DWORD>(error));
    return false;
}

bool TlsConnection::SendAll(const char* data, size_t length) {
    return length == 0 || tcp->Send(data, static_cast<int>(length), 0);
}

bool TlsConnection::SendToken(SecBuffer& token) {
    ContextBuffer owned{token.pvBuffer};
    const bool sent = SendAll(static_cast<const char*>(token.pvBuffer), token.cbBuffer);
    token.pvBuffer = nullptr;
    token.cbBuffer = 0;
    return sent;
}

int TlsConnection::ReceiveMore(int waitMilliseconds) {
    char* const room = inbox.Room(kReadSize);
    const int count = tcp->ReceiveWithin(room, static_cast<int>(inbox.RoomSize()), waitMilliseconds);
    if (count > 0) inbox.Added(static_cast<size_t>(count));
    return count;
}

bool TlsConnection::Handshake(int waitMilliseconds, TlsFailure& failure) {
    SCHANNEL_CRED settings{};
    settings.dwVersion = SCHANNEL_CRED_VERSION;
    settings.grbitEnabledProtocols = SP_PROT_TLS1_2_CLIENT;
    // The certificate is checked below, by the chain policy, with the name asked for.
    settings.dwFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS |
                       SCH_USE_STRONG_CRYPTO;
    if (!Sspi()) return HandshakeFailure(failure, SEC_E_SECPKG_NOT_FOUND, kHandshakeFailedText);
    char package[] = UNISP_NAME_A;
    SECURITY_STATUS status = Sspi()->AcquireCredentialsHandleA(
        nullptr, package, SECPKG_CRED_OUTBOUND, nullptr, &settings, nullptr, nullptr,
        &credentials.handle, nullptr);
    if (status != SEC_E_OK) return HandshakeFailure(failure, status, kHandshakeFailedText);
    credentials.valid = true;

    std::string target = hostName;
    bool first = true;
    bool needMore = false;
    for (int step = 0; step < kMaxHandshakeSteps; ++step) {
        if (!first && (needMore || inbox.Size() == 0)) {
            const int received = ReceiveMore(waitMilliseconds);
            if (received <= 0) return ReceiveFailure(failure, received);
        }
        if (!CouldStartRecord(std::string_view(inbox.Data(), inbox.Size())))
            return HandshakeFailure(failure, SEC_E_ILLEGAL_MESSAGE, kHandshakeFailedText);
        SecBuffer input[2] = {};
        input[0].BufferType = SECBUFFER_TOKEN;
        input[0].pvBuffer = inbox.Data();
        input[0].cbBuffer = static_cast<unsigned long>(inbox.Size());
        input[1].BufferType = SECBUFFER_EMPTY;
        SecBufferDesc inputDesc{SECBUFFER_VERSION, 2, input};
        SecBuffer output[1] = {};
        output[0].BufferType = SECBUFFER_TOKEN;
        SecBufferDesc outputDesc{SECBUFFER_VERSION, 1, output};
        unsigned long attributes = 0;
        status = Sspi()->InitializeSecurityContextA(
            &credentials.handle, first ? nullptr : &context.handle, target.data(), kContextFlags,
            0, 0, first ? nullptr : &inputDesc, 0, &context.handle,
            &outputDesc, &attributes, nullptr);
        if (first) context.valid = status == SEC_E_OK || status == SEC_I_CONTINUE_NEEDED ||
                                   status == SEC_E_INCOMPLETE_MESSAGE;
        first = false;
        // A token goes out also with a failure: it is the alert that tells the server why.
        if (output[0].pvBuffer && output[0].cbBuffer > 0 && !SendToken(output[0]) &&
            (status == SEC_E_OK || status == SEC_I_CONTINUE_NEEDED)) {
            return ReceiveFailure(failure, -1);
        }
        ContextBuffer leftover{output[0].pvBuffer};
        needMore = status == SEC_E_INCOMPLETE_MESSAGE;
        if (needMore) continue;
        if (status != SEC_E_OK && status != SEC_I_CONTINUE_NEEDED)
            return HandshakeFailure(failure, status, kHandshakeFailedText);
        const size_t extra = input[1].BufferType == SECBUFFER_EXTRA ? input[1].cbBuffer : 0;
        inbox.Consume(inbox.Size() - extra);
        if (status == SEC_E_OK) {
            established = true;
            break;
        }
        if (step == kMaxHandshakeSteps - 1) return HandshakeFailure(failure, status, kHandshakeFailedText);
    }
    if (status != SEC_E_OK) return HandshakeFailure(failure, status, kHandshakeFailedText);

    status = Sspi()->QueryContextAttributesA(&context.handle, SECPKG_ATTR_STREAM_SIZES, &sizes);
    if (status != SEC_E_OK) return HandshakeFailure(failure, status, kHandshakeFailedText);
    PCCERT_CONTEXT remote = nullptr;
    status = Sspi()->QueryContextAttributesA(&context.handle, SECPKG_ATTR_REMOTE_CERT_CONTEXT, &remote);
    if (status != SEC_E_OK || !remote) return HandshakeFailure(failure, status, kUntrustedCertificateText);
    const std::unique_ptr<const CERT_CONTEXT, CertificateDeleter> certificate(remote);
    return CheckServerCertificate(certificate.get(), hostName, failure);
}

bool TlsConnection::Send(const char* buffer, int length, int /*flags*/) {
    std::string record;
    size_t offset = 0;
    const auto total = static_cast<size_t>(length > 0 ? length : 0);
    do {
        const size_t piece = std::min<size_t>(total - offset, sizes.cbMaximumMessage);
        record.assign(sizes.cbHeader + piece + sizes.cbTrailer, '\0');
        std::copy(buffer + offset, buffer + offset + piece, record.begin() + sizes.cbHeader);
        SecBuffer parts[4] = {};
        parts[0] = {sizes.cbHeader, SECBUFFER_STREAM_HEADER, record.data()};
        parts[1] = {static_cast<unsigned long>(piece), SECBUFFER_DATA, record.data() + sizes.cbHeader};
        parts[2] = {sizes.cbTrailer, SECBUFFER_STREAM_TRAILER, record.data() + sizes.cbHeader + piece};
        parts[3].BufferType = SECBUFFER_EMPTY;
        SecBufferDesc desc{SECBUFFER_VERSION, 4, parts};
        const SECURITY_STATUS status = Sspi()->EncryptMessage(&context.handle, 0, &desc, 0);
        if (status != SEC_E_OK) {
            ::WSASetLastError(status);
            return false;
        }
        if (!SendAll(record.data(), parts[0].cbBuffer + parts[1].cbBuffer + parts[2].cbBuffer))
            return false;
        offset += piece;
    } while (offset < total);
    return true;
}

bool TlsConnection::DecryptRecord(size_t recordLength) {
    SecBuffer parts[4] = {};
    parts[0] = {static_cast<unsigned long>(recordLength), SECBUFFER_DATA, inbox.Data()};
    for (int i = 1; i < 4; ++i) parts[i].BufferType = SECBUFFER_EMPTY;
    SecBufferDesc desc{SECBUFFER_VERSION, 4, parts};
    const SECURITY_STATUS status = Sspi()->DecryptMessage(&context.handle, &desc, 0, nullptr);
    if (status == SEC_I_CONTEXT_EXPIRED) {
        // The server's close_notify: the end of the stream.
        peerClosed = true;
        inbox.Consume(recordLength);
        return true;
    }
    if (status != SEC_E_OK) {
        ::WSASetLastError(status);
        return false;
    }
    for (const SecBuffer& part : parts) {
        if (part.BufferType == SECBUFFER_DATA) {
            const size_t offset = static_cast<size_t>(static_cast<char*>(part.pvBuffer) - inbox.Data());
            inbox.SetPlain(offset, part.cbBuffer, recordLength);
            return true;
        }
    }
    inbox.SetPlain(0, 0, recordLength);
    return true;
}

int TlsConnection::ReceiveWithin(char* buffer, int capacity, int waitMilliseconds) {
    if (deferredError != 0) {
        ::WSASetLastError(deferredError);
        return -1;
    }
    const auto room = static_cast<size_t>(capacity > 0 ? capacity : 0);
    size_t given = 0;
    // Fills the buffer with what has arrived, waiting only while nothing can be handed on,
    // and then for waitMilliseconds in all: a record that trickles in over a longer time
    // must not keep the caller from its message queue, so that time without a whole
    // record counts as silence.
    const ULONGLONG deadline =
        ::GetTickCount64() + static_cast<ULONGLONG>(waitMilliseconds > 0 ? waitMilliseconds : 0);
    bool waited = false;
    while (given < room) {
        if (inbox.HasPlain()) {
            given += inbox.TakePlain(buffer + given, room - given);
            continue;
        }
        if (peerClosed) break;
        const size_t record = CompleteRecordLength(std::string_view(inbox.Data(), inbox.Size()));
        if (record > 0) {
            if (DecryptRecord(record)) continue;
            if (given == 0) return -1;
            deferredError = ::WSAGetLastError();
            break;
        }
        int wait = 0;
        if (given == 0) {
            const ULONGLONG now = ::GetTickCount64();
            if (waited && now >= deadline) return kNothingArrived;
            wait = static_cast<int>(deadline > now ? deadline - now : 0);
            waited = true;
        }
        const int received = ReceiveMore(wait);
        if (received == kNothingArrived) return given > 0 ? static_cast<int>(given) : kNothingArrived;
        if (received == 0) {
            // The server closed without close_notify; a cut-short body shows in its framing.
            peerClosed = true;
            continue;
        }
        if (received < 0) {
            if (given == 0) return -1;
            deferredError = ::WSAGetLastError();
            break;
        }
    }
    return static_cast<int>(given);
}

bool TlsConnection::Close() {
    if (established && !peerClosed) {
        // close_notify, as far as the server still listens; its failure changes nothing.
        DWORD shutdown = SCHANNEL_SHUTDOWN;
        SecBuffer control{sizeof shutdown, SECBUFFER_TOKEN, &shutdown};
        SecBufferDesc controlDesc{SECBUFFER_VERSION, 1, &control};
        if (Sspi()->ApplyControlToken(&context.handle, &controlDesc) == SEC_E_OK) {
            SecBuffer output{0, SECBUFFER_TOKEN, nullptr};
            SecBufferDesc outputDesc{SECBUFFER_VERSION, 1, &output};
            unsigned long attributes = 0;
            std::string target = hostName;
            if (Sspi()->InitializeSecurityContextA(&credentials.handle, &context.handle, target.data(),
                                             kContextFlags, 0, 0, nullptr, 0, nullptr, &outputDesc,
                                             &attributes, nullptr) == SEC_E_OK &&
                output.pvBuffer) {
                SendToken(output);
            }
        }
        peerClosed = true;
    }
    return tcp->Close();
}

}  // namespace

ConnectionPtr StartTls(ConnectionPtr tcp, const std::string& hostName, int waitMilliseconds,
                       TlsFailure& failure) {
    auto connection = std::make_unique<TlsConnection>(std::move(tcp), hostName);
    if (!connection->Handshake(waitMilliseconds, failure)) {
        connection->Close();
        return nullptr;
    }
    return ConnectionPtr(connection.release());
}

}  // namespace kv
