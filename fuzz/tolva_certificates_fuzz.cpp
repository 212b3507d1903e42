// Feeds the configuration store's PEM reader arbitrary text, in a buffer of exactly its length,
// as a "cert" value of the store hands it over. Every certificate it gives back, written out as
// PEM again, must read back complete, as the same number of certificates, each equal to the
// one it was written from.
#include <openssl/bio.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "shared_agent/util/openssl_holders.h"
#include "siblings/tolva/certificates.h"

namespace {

using hvx::fuzz::Check;

// The certificates as PEM text, one block after the other.
std::string WritePem(const tolva::ParsedCertificates& parsed) {
    const hvx::BioPtr bio(BIO_new(BIO_s_mem()));
    Check(bio != nullptr);
    for (const tolva::X509Ptr& certificate : parsed.certificates) {
        Check(PEM_write_bio_X509(bio.get(), certificate.get()) == 1);
    }
    char* bytes = nullptr;
    const long length = BIO_get_mem_data(bio.get(), &bytes);
    return {bytes, static_cast<std::size_t>(length)};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto text = std::make_unique<char[]>(size);
    std::copy(data, data + size, text.get());
    const tolva::ParsedCertificates parsed =
        tolva::ParsePemCertificates(std::string_view(text.get(), size));
    if (parsed.certificates.empty()) {
        return 0;
    }
    const std::string written = WritePem(parsed);
    const tolva::ParsedCertificates again = tolva::ParsePemCertificates(written);
    Check(again.complete && again.certificates.size() == parsed.certificates.size());
    for (std::size_t i = 0; i < parsed.certificates.size(); ++i) {
        Check(X509_cmp(parsed.certificates[i].get(), again.certificates[i].get()) == 0);
    }
    return 0;
}
