// Util::VerifySignature: which signed installers are accepted, and why the others are refused.
#include "siblings/venit/signature.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "siblings/venit/signature_format.h"
#include "tests/support/log_capture.h"
#include "tests/support/net/test_certs.h"
#include "tests/support/temp_dir.h"
#include "tests/unit/update/test_signers.h"

namespace hvx::test {
namespace {

constexpr std::size_t kInstallerSize = 70000;

struct Row {
    std::string name;
    std::optional<std::string> file;  // the file's bytes; none: no file
    const std::string* trusted;       // the trusted PEM; null: the configuration store's
    std::string refusal;              // the start of the reason; empty when accepted
};

std::string Flipped(std::string bytes, std::size_t at) {
    bytes.at(at) = static_cast<char>(bytes.at(at) ^ 1);
    return bytes;
}

std::vector<Row> Rows() {
    const TestSigners& signers = TestSigners::Shared();
    static const std::string ca = TestCertificates::Shared().Ca().certificatePem;
    static const std::string own = signers.trusted.pem;
    static const std::string none;
    const std::string installer(kInstallerSize, 'i');
    const std::string good = SignedBy(signers.trusted, installer);
    std::string oversized = good;
    oversized.replace(oversized.size() - 8, 4, "\xff\xff\xff\x00", 4);
    return {
        {"trusted signer", good, &own, ""},
        {"issued by the trusted CA", good, &ca, ""},
        {"trusted through the store", good, nullptr, ""},
        {"empty content", SignedBy(signers.trusted, ""), &ca, ""},
        {"content changed", Flipped(good, 100), &ca, "the signature does not verify"},
        {"content shortened", good.substr(1), &ca, "the signature does not verify"},
        {"signature changed", Flipped(good, good.size() - 200), &ca, "the signature"},
        {"last byte cut", good.substr(0, good.size() - 1), &ca, "the file is not signed"},
        {"unsigned", installer, &ca, "the file is not signed"},
        {"empty file", "", &ca, "the file is not signed"},
        {"signature size out of range", oversized, &ca, "the signature's size is out of range"},
        {"untrusted signer", SignedBy(signers.untrusted, installer), &ca,
         "the signature does not verify"},
        {"expired signer", SignedBy(signers.expired, installer), &ca,
         "the signature does not verify"},
        {"SHA-1 digest", SignedBy(signers.trusted, installer, EVP_sha1()), &ca,
         "the signature's digest is weaker than SHA-256"},
        {"TLS server certificate", SignedBy(signers.serverAuth, installer), &ca,
         "a signer's certificate is not for code signing"},
        {"nothing trusted", good, &none, "no trusted signing certificate is configured"},
        {"no file", std::nullopt, &ca, "the file cannot be read"},
    };
}

class SignatureTest : public ::testing::Test {
protected:
    SignerStore trust{TestSigners::Shared().trusted.pem};
    TempDir folder;
    LogCapture log;
};

TEST_F(SignatureTest, OnlyTrustedCodeSigningSignaturesOverTheWholeContentPass) {
    for (const Row& row : Rows()) {
        const auto path = folder / "installer.bin";
        std::filesystem::remove(path);
        if (row.file) {
            WriteFile(path, *row.file);
        }
        log.Clear();
        const int accepted = Util::VerifySignature(
            path.u16string().c_str(), row.trusted ? row.trusted->c_str() : nullptr, 0, nullptr);
        EXPECT_EQ(accepted != 0, row.refusal.empty()) << row.name;
        const std::string prefix = "Util::VerifySignature: " + path.string() + " refused: ";
        const std::vector<std::string> errors = log.Errors();
        EXPECT_TRUE(row.refusal.empty()
                        ? errors.empty()
                        : errors.size() == 1 && errors[0].starts_with(prefix + row.refusal))
            << row.name << ": " << (errors.empty() ? "" : errors[0]);
    }
    log.Clear();
    EXPECT_EQ(Util::VerifySignature(u"x", nullptr, 1, nullptr), 0);
    EXPECT_EQ(Util::VerifySignature(nullptr, nullptr, 0, nullptr), 0);
    EXPECT_EQ(log.Errors(),
              std::vector<std::string>(2, "Util::VerifySignature: invalid arguments"));
}

}  // namespace
}  // namespace hvx::test
