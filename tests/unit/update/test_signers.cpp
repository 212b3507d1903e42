#include "tests/unit/update/test_signers.h"

#include <stdexcept>
#include <string>

#include "interfaces/IConfig.h"
#include "siblings/venit/signature.h"
#include "support/module_handle.h"
#include "tests/support/net/test_certs.h"
#include "tools/certgen/certificate_builder.h"
#include "tools/certgen/installer_signer.h"
#include "tools/certgen/pem_text.h"

namespace hvx::test {

namespace {

Signer Issue(const PemIdentity& issuer, const std::string& usage, std::chrono::hours notAfter) {
    const certgen::X509Ptr issuerCertificate = certgen::CertificateFromPem(issuer.certificatePem);
    const certgen::KeyPtr issuerKey = certgen::KeyFromPem(issuer.keyPem);
    certgen::CertificateRequest request;
    request.commonName = "caspo test signer";
    request.extendedKeyUsage = usage;
    request.notBefore = std::chrono::hours(-48);
    request.notAfter = notAfter;
    Signer signer{nullptr, certgen::MakeKey(), {}};
    signer.certificate = certgen::MakeCertificate(request, signer.key.get(),
                                                  issuerCertificate.get(), issuerKey.get());
    signer.pem = certgen::ToPem(signer.certificate.get());
    return signer;
}

}  // namespace

const TestSigners& TestSigners::Shared() {
    static const TestSigners signers = [] {
        const TestCertificates& certificates = TestCertificates::Shared();
        const std::chrono::hours year(24 * 365);
        return TestSigners{Issue(certificates.Ca(), "codeSigning", year),
                           Issue(certificates.Ca(), "codeSigning", std::chrono::hours(-24)),
                           Issue(certificates.Ca(), "serverAuth", year),
                           Issue(certificates.UntrustedCa(), "codeSigning", year)};
    }();
    return signers;
}

std::string SignedBy(const Signer& signer, std::string_view content, const EVP_MD* digest) {
    return certgen::SignContent(content, signer.certificate.get(), signer.key.get(), digest);
}

SignerStore::SignerStore(const std::string& pem)
    : m_path("TOLVA_STORE", (m_folder / "signers.db").string()) {
    // By its path: "tolva.dll" is the test's in-memory store.
    const std::string file = TOLVA_LIBRARY_FILE;
    const ModuleHandle tolva(os::LoadLibraryW(std::u16string(file.begin(), file.end()).c_str()));
    const auto create =
        tolva ? GetExport<CreateConfigClassInstanceFn>(tolva.get(), "CreateConfigClassInstance")
              : nullptr;
    const std::unique_ptr<IConfig> config(create != nullptr ? create() : nullptr);
    const std::u16string text(pem.begin(), pem.end());
    if (!config || config->Load(0) == 0 ||
        config->AddString(Util::kSignerCertKey, text.c_str(), 1) == 0 || config->Save(0) == 0) {
        throw std::runtime_error("the signer store could not be written");
    }
}

}  // namespace hvx::test
