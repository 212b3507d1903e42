#include "tools/backend/signing_identity.h"

#include <chrono>
#include <exception>

#include "siblings/venit/signature.h"
#include "tools/backend/text_file.h"
#include "tools/backend/trust_import.h"
#include "tools/certgen/certificate_builder.h"
#include "tools/certgen/pem_text.h"
#include "tools/common/whole_file.h"

namespace hvx::backend {
namespace {

constexpr const char* kSignerFileName = "signer.pem";
constexpr const char* kSignerKeyFileName = "signer-key.pem";
constexpr mode_t kPublicMode = 0644;
constexpr mode_t kPrivateMode = 0600;
constexpr std::chrono::hours kDay{24};

std::optional<SigningIdentity> Reuse(const std::filesystem::path& folder) {
    const auto certificatePem = tools::ReadWholeFile(folder / kSignerFileName);
    const auto keyPem = tools::ReadWholeFile(folder / kSignerKeyFileName);
    if (!certificatePem || !keyPem) {
        return std::nullopt;
    }
    SigningIdentity identity{certgen::CertificateFromPem(*certificatePem),
                             certgen::KeyFromPem(*keyPem)};
    const X509* certificate = identity.certificate.get();
    if (!certificate || !identity.key ||
        X509_check_private_key(certificate, identity.key.get()) != 1 ||
        X509_cmp_current_time(X509_get0_notBefore(certificate)) >= 0 ||
        X509_cmp_current_time(X509_get0_notAfter(certificate)) <= 0) {
        return std::nullopt;
    }
    return identity;
}

SigningIdentity Make() {
    SigningIdentity identity{nullptr, certgen::MakeKey()};
    certgen::CertificateRequest request;
    request.commonName = "caspo-backend installer signing";
    request.notBefore = -kDay;
    request.notAfter = 365 * kDay;
    request.extendedKeyUsage = "codeSigning";
    identity.certificate = certgen::MakeCertificate(request, identity.key.get(), nullptr, nullptr);
    return identity;
}

}  // namespace

std::optional<SigningIdentity> PrepareSigningIdentity(const std::filesystem::path& folder,
                                                      std::string& problem) {
    try {
        std::optional<SigningIdentity> identity = Reuse(folder);
        if (!identity) {
            identity = Make();
            if (!WriteTextFile(folder / kSignerKeyFileName, certgen::ToPem(identity->key.get()),
                               kPrivateMode) ||
                !WriteTextFile(folder / kSignerFileName,
                               certgen::ToPem(identity->certificate.get()), kPublicMode)) {
                problem = "cannot write the signing identity in " + folder.string();
                return std::nullopt;
            }
        }
        if (!WriteTextFile(folder / kSignerTrustFileName,
                           CertificateImportJson(Util::kSignerCertKey,
                                                 certgen::ToPem(identity->certificate.get())),
                           kPublicMode)) {
            problem = "cannot write " + (folder / kSignerTrustFileName).string();
            return std::nullopt;
        }
        return identity;
    } catch (const std::exception& failure) {
        problem = failure.what();
        return std::nullopt;
    }
}

}  // namespace hvx::backend
