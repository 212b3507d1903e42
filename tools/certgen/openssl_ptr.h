// Owners of the OpenSSL objects that the certificate maker and its users hold.
#pragma once

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <memory>

namespace hvx::certgen {

struct OpenSslDeleter {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
    void operator()(X509* certificate) const { X509_free(certificate); }
    void operator()(X509_EXTENSION* extension) const { X509_EXTENSION_free(extension); }
    void operator()(BIO* bio) const { BIO_free_all(bio); }
    void operator()(SSL_CTX* context) const { SSL_CTX_free(context); }
    void operator()(SSL* ssl) const { SSL_free(ssl); }
};

using KeyPtr = std::unique_ptr<EVP_PKEY, OpenSslDeleter>;
using X509Ptr = std::unique_ptr<X509, OpenSslDeleter>;
using ExtensionPtr = std::unique_ptr<X509_EXTENSION, OpenSslDeleter>;
using BioPtr = std::unique_ptr<BIO, OpenSslDeleter>;
using SslContextPtr = std::unique_ptr<SSL_CTX, OpenSslDeleter>;
using SslPtr = std::unique_ptr<SSL, OpenSslDeleter>;

}  // namespace hvx::certgen
