// Certificates and private keys as PEM text, both ways.
#pragma once

#include <string>

#include "tools/certgen/openssl_ptr.h"

namespace hvx::certgen {

// PEM text of a certificate or of an unencrypted private key; throw std::runtime_error when
// OpenSSL cannot write them.
std::string ToPem(const X509* certificate);
std::string ToPem(EVP_PKEY* key);

// The first certificate or private key in `pem`; null when the text holds none.
X509Ptr CertificateFromPem(const std::string& pem);
KeyPtr KeyFromPem(const std::string& pem);

}  // namespace hvx::certgen
