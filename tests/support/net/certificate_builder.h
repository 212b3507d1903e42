// Makes keys and X.509 certificates with the OpenSSL API, for test certificates made at run time.
// Failures throw std::runtime_error: a fixture that cannot make its certificates cannot run.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "tests/support/net/openssl_ptr.h"

namespace hvx::test {

struct CertificateRequest {
    std::string commonName;
    // subjectAltName entries, written as OpenSSL does ("IP:127.0.0.1", "DNS:localhost").
    std::vector<std::string> altNames;
    bool isCa = false;
    // Validity, relative to now.
    std::chrono::hours notBefore{-1};
    std::chrono::hours notAfter{24 * 365};
};

// A new P-256 key.
KeyPtr MakeKey();

// A certificate for `key`, signed by `issuerKey` with `issuer` as its issuer name; a null issuer
// makes it self-signed.
X509Ptr MakeCertificate(const CertificateRequest& request, EVP_PKEY* key, const X509* issuer,
                        EVP_PKEY* issuerKey);

std::string ToPem(const X509* certificate);
std::string ToPem(EVP_PKEY* key);

}  // namespace hvx::test
