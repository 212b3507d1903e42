// Makes keys and X.509 certificates with the OpenSSL API: the test certificates and the
// reference backend's CA and server certificate come from here.
// Failures throw std::runtime_error: whoever asks for a certificate cannot go on without it,
// and the callers (test fixtures, the backend's start-up) turn that into their own failure.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "tools/certgen/openssl_ptr.h"

namespace hvx::certgen {

struct CertificateRequest {
    std::string commonName;
    // subjectAltName entries, written as OpenSSL does ("IP:127.0.0.1", "DNS:localhost").
    std::vector<std::string> altNames;
    bool isCa = false;
    // Validity, relative to now.
    std::chrono::hours notBefore{-1};
    std::chrono::hours notAfter{24 * 365};
    // The extended key usage of a certificate that is not a CA ("serverAuth", "codeSigning").
    std::string extendedKeyUsage = "serverAuth";
};

// A new P-256 key.
KeyPtr MakeKey();

// A certificate for `key`, signed by `issuerKey` with `issuer` as its issuer name; a null issuer
// makes it self-signed.
X509Ptr MakeCertificate(const CertificateRequest& request, EVP_PKEY* key, const X509* issuer,
                        EVP_PKEY* issuerKey);

}  // namespace hvx::certgen
