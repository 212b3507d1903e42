#include "tests/support/net/test_certs.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <stdexcept>
#include <system_error>
#include <vector>

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

// A new folder of the user's only (the keys are in it), under the temporary folder.
std::filesystem::path MakeFolder() {
    constexpr int kAttempts = 100;
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        auto folder = base / ("caspo-certs-" + std::to_string(random()));
        if (std::filesystem::create_directory(folder)) {
            std::filesystem::permissions(folder, std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::replace);
            return folder;
        }
    }
    throw std::runtime_error("test certificates: no folder could be made");
}

void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out.flush()) {
        throw std::runtime_error("test certificates: cannot write " + path.string());
    }
}

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

TestCertificates::TestCertificates() : m_folder(MakeFolder()) {
    try {
        const Issued ca = Issue({"caspo test CA", {}, true}, nullptr);
        const Issued untrustedCa = Issue({"caspo untrusted CA", {}, true}, nullptr);
        m_ca = Save(ca, m_folder, "ca");
        m_untrustedCa = Save(untrustedCa, m_folder, "untrusted-ca");
        m_server = Save(Issue({"127.0.0.1", LocalNames()}, &ca), m_folder, "server");
        m_expired = Save(Issue({"127.0.0.1", LocalNames(), false, -2 * kDay, -kDay}, &ca), m_folder,
                         "expired");
        m_notYetValid = Save(Issue({"127.0.0.1", LocalNames(), false, kDay, 2 * kDay}, &ca),
                             m_folder, "not-yet-valid");
        m_selfSigned = Save(Issue({"127.0.0.1", LocalNames()}, nullptr), m_folder, "self-signed");
        m_otherHost =
            Save(Issue({"other.invalid", {"DNS:other.invalid"}}, &ca), m_folder, "other-host");
        m_untrustedServer =
            Save(Issue({"127.0.0.1", LocalNames()}, &untrustedCa), m_folder, "untrusted-server");
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
        throw;
    }
}

TestCertificates::~TestCertificates() {
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

const TestCertificates& TestCertificates::Shared() {
    static const TestCertificates certificates;
    return certificates;
}

}  // namespace hvx::test
