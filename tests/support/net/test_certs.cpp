#include "tests/support/net/test_certs.h"

#include <vector>

#include "tests/support/temp_dir.h"
#include "tools/certgen/certificate_builder.h"
#include "tools/certgen/pem_text.h"

namespace hvx::test {
namespace {

using certgen::CertificateRequest;
using certgen::KeyPtr;
using certgen::MakeCertificate;
using certgen::MakeKey;
using certgen::ToPem;
using certgen::X509Ptr;

std::vector<std::string> LocalNames() {
    return {"IP:127.0.0.1", "DNS:localhost"};
}
constexpr std::chrono::hours kDay{24};

// A certificate with its key, kept while the others that it signs are made.
struct Issued {
    KeyPtr key;
    X509Ptr certificate;
};

Issued Issue(const CertificateRequest& request, const Issued* issuer) {
    Issued issued{MakeKey(), nullptr};
    issued.certificate =
        MakeCertificate(request, issued.key.get(), issuer ? issuer->certificate.get() : nullptr,
                        issuer ? issuer->key.get() : nullptr);
    return issued;
}

PemIdentity Save(const Issued& issued, const std::filesystem::path& folder,
                 const std::string& name) {
    PemIdentity identity{ToPem(issued.certificate.get()), ToPem(issued.key.get()),
                         folder / (name + ".crt"), folder / (name + ".key")};
    WriteFile(identity.certificateFile, identity.certificatePem);
    WriteFile(identity.keyFile, identity.keyPem);
    return identity;
}

}  // namespace

// The keys are in the folder: it is the user's only.
TestCertificates::TestCertificates() {
    std::filesystem::permissions(Folder(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace);
    const Issued ca = Issue({"caspo test CA", {}, true}, nullptr);
    const Issued untrustedCa = Issue({"caspo untrusted CA", {}, true}, nullptr);
    m_ca = Save(ca, Folder(), "ca");
    m_untrustedCa = Save(untrustedCa, Folder(), "untrusted-ca");
    m_server = Save(Issue({"127.0.0.1", LocalNames()}, &ca), Folder(), "server");
    m_expired =
        Save(Issue({"127.0.0.1", LocalNames(), false, -2 * kDay, -kDay}, &ca), Folder(), "expired");
    m_notYetValid = Save(Issue({"127.0.0.1", LocalNames(), false, kDay, 2 * kDay}, &ca), Folder(),
                         "not-yet-valid");
    m_selfSigned = Save(Issue({"127.0.0.1", LocalNames()}, nullptr), Folder(), "self-signed");
    m_otherHost =
        Save(Issue({"other.invalid", {"DNS:other.invalid"}}, &ca), Folder(), "other-host");
    m_untrustedServer =
        Save(Issue({"127.0.0.1", LocalNames()}, &untrustedCa), Folder(), "untrusted-server");
}

const TestCertificates& TestCertificates::Shared() {
    static const TestCertificates certificates;
    return certificates;
}

}  // namespace hvx::test
