#include "tests/support/scoped_root_store.h"

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <memory>

namespace hvx::test {

namespace {

constexpr const char16_t* kRootStore = u"ROOT";

struct BioFree {
    void operator()(BIO* bio) const { BIO_free(bio); }
};
struct X509Free {
    void operator()(X509* certificate) const { X509_free(certificate); }
};
struct OpenSslFree {
    void operator()(unsigned char* bytes) const { OPENSSL_free(bytes); }
};

}  // namespace

std::vector<os::EncodedCertificate> PemToDer(const std::string& pem) {
    std::vector<os::EncodedCertificate> certificates;
    const std::unique_ptr<BIO, BioFree> bio(
        BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())));
    while (true) {
        const std::unique_ptr<X509, X509Free> certificate(
            PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr));
        if (!certificate) {
            break;
        }
        unsigned char* der = nullptr;
        const int length = i2d_X509(certificate.get(), &der);
        const std::unique_ptr<unsigned char, OpenSslFree> owned(der);
        if (length > 0) {
            certificates.emplace_back(der, der + length);
        }
    }
    ERR_clear_error();
    return certificates;
}

ScopedRootStore::ScopedRootStore(const std::vector<std::string>& pems,
                                 std::vector<os::EncodedCertificate> raw) {
    std::vector<os::EncodedCertificate> certificates;
    for (const std::string& pem : pems) {
        for (os::EncodedCertificate& der : PemToDer(pem)) {
            certificates.push_back(std::move(der));
        }
    }
    for (os::EncodedCertificate& bytes : raw) {
        certificates.push_back(std::move(bytes));
    }
    os::RegisterSubstituteCertStore(kRootStore, std::move(certificates));
}

ScopedRootStore::ScopedRootStore(Unavailable /*unused*/) {
    os::RegisterUnavailableCertStore(kRootStore);
}

ScopedRootStore::~ScopedRootStore() {
    os::UnregisterSubstituteCertStore(kRootStore);
}

}  // namespace hvx::test
