// kvtool's trust-ca and untrust-ca: a PEM certificate added to or removed from the trusted
// roots of the machine (in Wine, the prefix's machine store), for the tests' own authority.
#include "tools/kvtool/commands.h"

#include "base/codepage.h"
#include "base/unique_resource.h"

#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

struct StoreCloser {
    void operator()(void* store) const { ::CertCloseStore(store, 0); }
};
struct CertificateFreer {
    void operator()(PCCERT_CONTEXT certificate) const { ::CertFreeCertificateContext(certificate); }
};
using Store = std::unique_ptr<void, StoreCloser>;
using Certificate = std::unique_ptr<const CERT_CONTEXT, CertificateFreer>;

int Fail(const char* what) {
    std::fprintf(stderr, "kvtool: %s (error 0x%08lx)\n", what, ::GetLastError());
    return 1;
}

// The certificate of a PEM (or DER) file; null when the file holds none.
Certificate ReadCertificate(const std::string& path) {
    std::ifstream file(kv::AnsiToWide(path).c_str(), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (text.empty()) return nullptr;
    DWORD size = 0;
    if (!::CryptStringToBinaryA(text.data(), static_cast<DWORD>(text.size()), CRYPT_STRING_BASE64_ANY,
                                nullptr, &size, nullptr, nullptr)) {
        return Certificate(::CertCreateCertificateContext(
            X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(text.data()), static_cast<DWORD>(text.size())));
    }
    std::vector<BYTE> der(size);
    if (!::CryptStringToBinaryA(text.data(), static_cast<DWORD>(text.size()), CRYPT_STRING_BASE64_ANY,
                                der.data(), &size, nullptr, nullptr)) {
        return nullptr;
    }
    return Certificate(::CertCreateCertificateContext(X509_ASN_ENCODING, der.data(), size));
}

// The machine's trusted roots where they are kept, in the registry. (Wine's "ROOT" system
// store is a copy that does not write deletions back.)
Store OpenMachineRoots() {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\SystemCertificates\\Root", 0,
                          nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return nullptr;
    }
    const kv::unique_hkey owned(key);
    // The store keeps its own handle of the key.
    return Store(::CertOpenStore(CERT_STORE_PROV_REG, 0, 0, 0, key));
}

int ChangeTrust(const Arguments& args, bool trust) {
    if (args.size() != 1) {
        std::fputs(trust ? "usage: kvtool trust-ca FILE.pem\n" : "usage: kvtool untrust-ca FILE.pem\n", stderr);
        return 2;
    }
    const Certificate certificate = ReadCertificate(args[0]);
    if (!certificate) return Fail("no certificate in the file");
    const Store store = OpenMachineRoots();
    if (!store) return Fail("cannot open the machine's trusted roots");
    if (trust) {
        if (!::CertAddCertificateContextToStore(store.get(), certificate.get(),
                                                CERT_STORE_ADD_REPLACE_EXISTING, nullptr)) {
            return Fail("cannot add the certificate");
        }
        std::puts("TRUSTED");
        return 0;
    }
    PCCERT_CONTEXT found = ::CertFindCertificateInStore(store.get(), X509_ASN_ENCODING, 0,
                                                        CERT_FIND_EXISTING, certificate.get(), nullptr);
    // Deleting frees the context it is handed, also on failure.
    if (found && !::CertDeleteCertificateFromStore(found)) return Fail("cannot remove the certificate");
    std::puts(found ? "UNTRUSTED" : "NOT TRUSTED");
    return 0;
}

}  // namespace

int RunTrustCaCommand(const Arguments& args) { return ChangeTrust(args, true); }
int RunUntrustCaCommand(const Arguments& args) { return ChangeTrust(args, false); }
