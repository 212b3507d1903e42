#include "tools/certgen/installer_signer.h"

#include <openssl/cms.h>

#include <fstream>
#include <memory>
#include <stdexcept>
#include <vector>

#include "siblings/venit/signature_format.h"

namespace hvx::certgen {

namespace {

struct CmsFree {
    void operator()(CMS_ContentInfo* cms) const { CMS_ContentInfo_free(cms); }
};

constexpr unsigned kSignFlags = CMS_DETACHED | CMS_BINARY;

// The DER signature block and its trailer, for the content `data` reads.
std::string SignatureBlock(BIO* data, X509* signer, EVP_PKEY* key, const EVP_MD* digest) {
    const std::unique_ptr<CMS_ContentInfo, CmsFree> cms(
        CMS_sign(nullptr, nullptr, nullptr, nullptr, kSignFlags | CMS_PARTIAL));
    if (!cms || CMS_add1_signer(cms.get(), signer, key, digest, kSignFlags) == nullptr ||
        CMS_final(cms.get(), data, nullptr, kSignFlags) != 1) {
        throw std::runtime_error("signing: CMS_sign failed");
    }
    unsigned char* der = nullptr;
    const int size = i2d_CMS_ContentInfo(cms.get(), &der);
    if (size <= 0 || static_cast<std::uint32_t>(size) > Util::signature::kMaxSignatureSize) {
        OPENSSL_free(der);
        throw std::runtime_error("signing: the signature cannot be written");
    }
    std::string block(reinterpret_cast<const char*>(der), static_cast<std::size_t>(size));
    OPENSSL_free(der);
    const auto trailer = Util::signature::MakeTrailer(static_cast<std::uint32_t>(size));
    block.append(reinterpret_cast<const char*>(trailer.data()), trailer.size());
    return block;
}

}  // namespace

std::string SignContent(std::string_view content, X509* signer, EVP_PKEY* key,
                        const EVP_MD* digest) {
    const BioPtr data(BIO_new_mem_buf(content.data(), static_cast<int>(content.size())));
    if (!data) {
        throw std::runtime_error("signing: no memory");
    }
    return std::string(content) + SignatureBlock(data.get(), signer, key, digest);
}

void SignFile(const std::filesystem::path& in, const std::filesystem::path& out, X509* signer,
              EVP_PKEY* key) {
    const BioPtr data(BIO_new_file(in.string().c_str(), "rb"));
    if (!data) {
        throw std::runtime_error("signing: cannot read " + in.string());
    }
    const std::string block = SignatureBlock(data.get(), signer, key, EVP_sha256());
    std::ifstream source(in, std::ios::binary);
    std::ofstream target(out, std::ios::binary | std::ios::trunc);
    target << source.rdbuf();
    target.write(block.data(), static_cast<std::streamsize>(block.size()));
    if (!source || !target.flush()) {
        throw std::runtime_error("signing: cannot write " + out.string());
    }
}

}  // namespace hvx::certgen
