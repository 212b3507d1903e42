#include "platform/posix/cert_bundle.h"

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/pem.h>

#include <array>
#include <cstring>
#include <memory>

#include "platform/last_error.h"

namespace hvx::os::detail {

namespace {

// Where the distributions keep the bundle of trusted CA certificates, most common first.
constexpr std::array kBundlePaths = {
    "/etc/ssl/certs/ca-certificates.crt",                 // Debian, Ubuntu, Gentoo, Arch
    "/etc/pki/tls/certs/ca-bundle.crt",                   // Fedora, RHEL
    "/etc/pki/ca-trust/extracted/pem/tls-ca-bundle.pem",  // CentOS, RHEL 7 and later
    "/etc/ssl/ca-bundle.pem",                             // openSUSE
    "/etc/pki/tls/cacert.pem",                            // OpenELEC
    "/etc/ssl/cert.pem",                                  // Alpine
};

constexpr const char* kCertificateLabel = "CERTIFICATE";

struct BioFree {
    void operator()(BIO* bio) const { BIO_free(bio); }
};
using BioPtr = std::unique_ptr<BIO, BioFree>;

struct OpenSslFree {
    void operator()(void* memory) const { OPENSSL_free(memory); }
};

// One PEM block: its label and decoded bytes.
struct PemBlock {
    std::unique_ptr<char, OpenSslFree> name;
    std::unique_ptr<char, OpenSslFree> header;
    std::unique_ptr<unsigned char, OpenSslFree> data;
    long length = 0;
};

// The next block of the file; false at the end of the file or at a block that does not decode,
// which ends the reading (the certificates before it are kept).
bool ReadBlock(BIO* bio, PemBlock& block) {
    char* name = nullptr;
    char* header = nullptr;
    unsigned char* data = nullptr;
    long length = 0;
    const int read = PEM_read_bio(bio, &name, &header, &data, &length);
    block.name.reset(name);
    block.header.reset(header);
    block.data.reset(data);
    block.length = length;
    return read == 1;
}

}  // namespace

bool ReadSystemCaBundle(std::vector<EncodedCertificate>& certificates) {
    for (const char* path : kBundlePaths) {
        BioPtr bio(BIO_new_file(path, "r"));
        if (!bio) {
            continue;
        }
        certificates.clear();
        PemBlock block;
        while (ReadBlock(bio.get(), block)) {
            if (std::strcmp(block.name.get(), kCertificateLabel) == 0 && block.length > 0) {
                const unsigned char* bytes = block.data.get();
                certificates.emplace_back(bytes, bytes + block.length);
            }
        }
        // The end of the file shows as "no start line" in the error queue.
        ERR_clear_error();
        return true;
    }
    ERR_clear_error();
    SetLastError(ERROR_FILE_NOT_FOUND);
    return false;
}

}  // namespace hvx::os::detail
