#include "net/server_certificate.h"

#include "base/codepage.h"
#include "net/engine_texts.h"
#include "net/tls_connection.h"

#include <memory>

namespace kv {
namespace {

struct ChainDeleter {
    void operator()(PCCERT_CHAIN_CONTEXT chain) const { ::CertFreeCertificateChain(chain); }
};

// Chain states that leave the server's certificate without a trusted issuer. Dates are
// left to the policy, which names them apart; revocation is not asked for.
constexpr DWORD kUntrustedBits = CERT_TRUST_IS_UNTRUSTED_ROOT | CERT_TRUST_IS_NOT_SIGNATURE_VALID |
                                 CERT_TRUST_IS_REVOKED | CERT_TRUST_IS_CYCLIC |
                                 CERT_TRUST_INVALID_BASIC_CONSTRAINTS | CERT_TRUST_IS_NOT_VALID_FOR_USAGE |
                                 CERT_TRUST_INVALID_EXTENSION | CERT_TRUST_INVALID_NAME_CONSTRAINTS;

const char* TextForPolicyError(DWORD error) {
    switch (error) {
    case static_cast<DWORD>(CERT_E_EXPIRED):
    case static_cast<DWORD>(CERT_E_VALIDITYPERIODNESTING):
        return kCertificateDatesText;
    case static_cast<DWORD>(CERT_E_CN_NO_MATCH):
        return kWrongNameCertificateText;
    default:
        return kUntrustedCertificateText;
    }
}

bool Fail(DWORD code, const char* text, TlsFailure& failure) {
    failure.code = static_cast<int32_t>(code);
    failure.text = text;
    return false;
}

}  // namespace

bool CheckServerCertificate(PCCERT_CONTEXT certificate, const std::string& serverName,
                            TlsFailure& failure) {
    char serverAuth[] = szOID_PKIX_KP_SERVER_AUTH;
    LPSTR usages[] = {serverAuth};
    CERT_CHAIN_PARA chainPara{};
    chainPara.cbSize = sizeof chainPara;
    chainPara.RequestedUsage.dwType = USAGE_MATCH_TYPE_AND;
    chainPara.RequestedUsage.Usage.cUsageIdentifier = 1;
    chainPara.RequestedUsage.Usage.rgpszUsageIdentifier = usages;

    PCCERT_CHAIN_CONTEXT built = nullptr;
    if (!::CertGetCertificateChain(nullptr, certificate, nullptr, certificate->hCertStore,
                                   &chainPara, 0, nullptr, &built)) {
        return Fail(::GetLastError(), kUntrustedCertificateText, failure);
    }
    const std::unique_ptr<const CERT_CHAIN_CONTEXT, ChainDeleter> chain(built);

    // The chain's own verdict first: a chain that ends in no trusted root is refused
    // whatever the policy below makes of it (Wine's SSL policy lets a partial chain pass).
    const DWORD trust = chain->TrustStatus.dwErrorStatus;
    if (trust & CERT_TRUST_IS_PARTIAL_CHAIN)
        return Fail(static_cast<DWORD>(CERT_E_CHAINING), kUntrustedCertificateText, failure);
    if (trust & kUntrustedBits)
        return Fail(static_cast<DWORD>(CERT_E_UNTRUSTEDROOT), kUntrustedCertificateText, failure);

    std::wstring name = AnsiToWide(serverName);
    SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl{};
    ssl.cbSize = sizeof ssl;
    ssl.dwAuthType = AUTHTYPE_SERVER;
    ssl.pwszServerName = name.data();
    CERT_CHAIN_POLICY_PARA policyPara{};
    policyPara.cbSize = sizeof policyPara;
    policyPara.pvExtraPolicyPara = &ssl;
    CERT_CHAIN_POLICY_STATUS status{};
    status.cbSize = sizeof status;
    if (!::CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain.get(), &policyPara,
                                            &status)) {
        return Fail(::GetLastError(), kUntrustedCertificateText, failure);
    }
    if (status.dwError != 0) return Fail(status.dwError, TextForPolicyError(status.dwError), failure);
    if (trust & CERT_TRUST_IS_NOT_TIME_VALID)
        return Fail(static_cast<DWORD>(CERT_E_EXPIRED), kCertificateDatesText, failure);
    return true;
}

}  // namespace kv
