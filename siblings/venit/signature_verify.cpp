// Util::VerifySignature (signature.h): the signature block of a file checked with OpenSSL's CMS.
#include <openssl/cms.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/x509v3.h>

#include <array>
#include <memory>
#include <string>

#include "siblings/venit/signature.h"
#include "siblings/venit/signed_file.h"
#include "siblings/venit/signer_trust.h"
#include "siblings/venit/venit.h"

namespace Util {

namespace {

// SHA-256 and longer digests only.
constexpr int kMinDigestSize = 32;
constexpr std::size_t kErrorTextSize = 256;

struct CmsFree {
    void operator()(CMS_ContentInfo* cms) const { CMS_ContentInfo_free(cms); }
};
using CmsPtr = std::unique_ptr<CMS_ContentInfo, CmsFree>;

struct SignersFree {
    void operator()(STACK_OF(X509) * signers) const { sk_X509_free(signers); }
};

// OpenSSL's first queued error as text, and the queue emptied.
std::string OpenSslReason() {
    std::array<char, kErrorTextSize> text{};
    const unsigned long code = ERR_get_error();
    ERR_error_string_n(code, text.data(), text.size());
    ERR_clear_error();
    return code != 0 ? std::string(text.data()) : std::string("no detail");
}

int Refuse(const char16_t* path, const std::string& reason) {
    error(u"Util::VerifySignature: %s refused: %hs", path, reason);
    return 0;
}

CmsPtr ParseSignature(const std::vector<unsigned char>& der) {
    const unsigned char* cursor = der.data();
    CmsPtr cms(d2i_CMS_ContentInfo(nullptr, &cursor, static_cast<long>(der.size())));
    if (cms && (OBJ_obj2nid(CMS_get0_type(cms.get())) != NID_pkcs7_signed ||
                CMS_is_detached(cms.get()) != 1)) {
        return nullptr;
    }
    return cms;
}

bool DigestsAreStrong(CMS_ContentInfo* cms) {
    STACK_OF(CMS_SignerInfo)* infos = CMS_get0_SignerInfos(cms);
    for (int i = 0; i < sk_CMS_SignerInfo_num(infos); ++i) {
        X509_ALGOR* digest = nullptr;
        CMS_SignerInfo_get0_algs(sk_CMS_SignerInfo_value(infos, i), nullptr, nullptr, &digest,
                                 nullptr);
        const ASN1_OBJECT* algorithm = nullptr;
        X509_ALGOR_get0(&algorithm, nullptr, nullptr, digest);
        const EVP_MD* md = EVP_get_digestbyobj(algorithm);
        if (md == nullptr || EVP_MD_get_size(md) < kMinDigestSize) {
            return false;
        }
    }
    return sk_CMS_SignerInfo_num(infos) > 0;
}

bool SignersMayCodeSign(CMS_ContentInfo* cms) {
    const std::unique_ptr<STACK_OF(X509), SignersFree> signers(CMS_get0_signers(cms));
    for (int i = 0; signers && i < sk_X509_num(signers.get()); ++i) {
        X509* signer = sk_X509_value(signers.get(), i);
        if ((X509_get_extension_flags(signer) & EXFLAG_XKUSAGE) == 0 ||
            (X509_get_extended_key_usage(signer) & XKU_CODE_SIGN) == 0) {
            return false;
        }
    }
    return signers && sk_X509_num(signers.get()) > 0;
}

}  // namespace

int VerifySignature(const char16_t* path, const char* trustedPem, std::uint32_t flags,
                    void* reserved) {
    if (path == nullptr || flags != 0 || reserved != nullptr) {
        error("Util::VerifySignature: invalid arguments");
        return 0;
    }
    signature::SignedFile file(path);
    if (const std::string problem = file.ReadSignature(); !problem.empty()) {
        return Refuse(path, problem);
    }
    const CmsPtr cms = ParseSignature(file.Signature());
    if (!cms) {
        ERR_clear_error();
        return Refuse(path, "the signature is not a detached CMS SignedData");
    }
    if (!DigestsAreStrong(cms.get())) {
        return Refuse(path, "the signature's digest is weaker than SHA-256");
    }
    const signature::TrustStorePtr trust = signature::MakeTrustStore(trustedPem);
    if (!trust) {
        return Refuse(path, "no trusted signing certificate is configured");
    }
    const signature::BioPtr content = file.ContentBio();
    if (!content ||
        CMS_verify(cms.get(), nullptr, trust.get(), content.get(), nullptr, CMS_BINARY) != 1) {
        return Refuse(path, "the signature does not verify: " + OpenSslReason());
    }
    if (!SignersMayCodeSign(cms.get())) {
        return Refuse(path, "a signer's certificate is not for code signing");
    }
    return 1;
}

}  // namespace Util
