// Owners for the OpenSSL objects of the certificate code.
#pragma once

#include <openssl/bio.h>
#include <openssl/crypto.h>
#include <openssl/x509.h>

#include <memory>

namespace hvx {

struct X509Free {
    void operator()(X509* certificate) const { X509_free(certificate); }
};
using X509Ptr = std::unique_ptr<X509, X509Free>;

struct BioFree {
    void operator()(BIO* bio) const { BIO_free(bio); }
};
using BioPtr = std::unique_ptr<BIO, BioFree>;

struct OpenSslFree {
    void operator()(char* text) const { OPENSSL_free(text); }
};
using OpenSslText = std::unique_ptr<char, OpenSslFree>;

}  // namespace hvx
