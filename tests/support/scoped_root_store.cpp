#include "tests/support/scoped_root_store.h"

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <algorithm>
#include <iterator>
#include <memory>

#include "tools/certgen/openssl_ptr.h"

namespace hvx::test {

namespace {

constexpr const char16_t* kRootStore = u"ROOT";

// The DER bytes of every certificate in the PEM text.
std::vector<os::EncodedCertificate> PemToDer(const std::string& pem) {
    std::vector<os::EncodedCertificate> certificates;
    const certgen::BioPtr bio(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())));
    while (const certgen::X509Ptr certificate{
        PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr)}) {
        unsigned char* der = nullptr;
        const int length = i2d_X509(certificate.get(), &der);
        const std::unique_ptr<unsigned char,
                              decltype([](unsigned char* bytes) { OPENSSL_free(bytes); })>
            owned(der);
        if (length > 0) {
            certificates.emplace_back(der, der + length);
        }
    }
    ERR_clear_error();
    return certificates;
}

}  // namespace

ScopedRootStore::ScopedRootStore(const std::vector<std::string>& pems,
                                 std::vector<os::EncodedCertificate> raw) {
    std::vector<os::EncodedCertificate> certificates;
    for (const std::string& pem : pems) {
        std::ranges::move(PemToDer(pem), std::back_inserter(certificates));
    }
    std::ranges::move(raw, std::back_inserter(certificates));
    os::RegisterSubstituteCertStore(kRootStore, std::move(certificates));
}

ScopedRootStore::ScopedRootStore(Unavailable /*unused*/) {
    os::RegisterUnavailableCertStore(kRootStore);
}

ScopedRootStore::~ScopedRootStore() {
    os::UnregisterSubstituteCertStore(kRootStore);
}

}  // namespace hvx::test
