#include "tools/certgen/pem_text.h"

#include <openssl/pem.h>

#include <stdexcept>

namespace hvx::certgen {
namespace {

std::string DrainBio(BIO* bio) {
    char* data = nullptr;
    const long length = BIO_get_mem_data(bio, &data);
    return {data, static_cast<std::size_t>(length)};
}

BioPtr ReadingBio(const std::string& pem) {
    return BioPtr(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())));
}

}  // namespace

std::string ToPem(const X509* certificate) {
    const BioPtr bio(BIO_new(BIO_s_mem()));
    if (bio == nullptr || PEM_write_bio_X509(bio.get(), certificate) != 1) {
        throw std::runtime_error("certificates: certificate PEM");
    }
    return DrainBio(bio.get());
}

std::string ToPem(EVP_PKEY* key) {
    const BioPtr bio(BIO_new(BIO_s_mem()));
    if (bio == nullptr ||
        PEM_write_bio_PrivateKey(bio.get(), key, nullptr, nullptr, 0, nullptr, nullptr) != 1) {
        throw std::runtime_error("certificates: key PEM");
    }
    return DrainBio(bio.get());
}

X509Ptr CertificateFromPem(const std::string& pem) {
    const BioPtr bio = ReadingBio(pem);
    return X509Ptr(bio ? PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr) : nullptr);
}

KeyPtr KeyFromPem(const std::string& pem) {
    const BioPtr bio = ReadingBio(pem);
    return KeyPtr(bio ? PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr) : nullptr);
}

}  // namespace hvx::certgen
