#include "tools/backend/tls_folder.h"

#include <chrono>
#include <exception>
#include <system_error>

#include "tools/backend/text_file.h"
#include "tools/backend/trust_import.h"
#include "tools/certgen/certificate_builder.h"
#include "tools/certgen/pem_text.h"
#include "tools/common/whole_file.h"

namespace hvx::backend {
namespace {

constexpr const char* kCaKeyFileName = "ca-key.pem";
constexpr const char* kServerFileName = "server.pem";
constexpr const char* kServerKeyFileName = "server-key.pem";
constexpr mode_t kPublicMode = 0644;
constexpr mode_t kPrivateMode = 0600;
constexpr std::chrono::hours kDay{24};
constexpr std::chrono::hours kCaLifetime = 3652 * kDay;
constexpr std::chrono::hours kServerLifetime = 365 * kDay;

struct Pair {
    certgen::X509Ptr certificate;
    certgen::KeyPtr key;
};

std::optional<Pair> ReadPair(const std::filesystem::path& folder, const char* certificateName,
                             const char* keyName) {
    const auto certificatePem = tools::ReadWholeFile(folder / certificateName);
    const auto keyPem = tools::ReadWholeFile(folder / keyName);
    if (!certificatePem || !keyPem) {
        return std::nullopt;
    }
    Pair pair{certgen::CertificateFromPem(*certificatePem), certgen::KeyFromPem(*keyPem)};
    if (!pair.certificate || !pair.key ||
        X509_check_private_key(pair.certificate.get(), pair.key.get()) != 1) {
        return std::nullopt;
    }
    return pair;
}

bool ValidNow(const X509* certificate) {
    return X509_cmp_current_time(X509_get0_notBefore(certificate)) < 0 &&
           X509_cmp_current_time(X509_get0_notAfter(certificate)) > 0;
}

std::optional<Pair> ReuseServer(const std::filesystem::path& folder) {
    const auto ca = ReadPair(folder, kCaFileName, kCaKeyFileName);
    auto server = ReadPair(folder, kServerFileName, kServerKeyFileName);
    if (!ca || !server || !ValidNow(ca->certificate.get()) ||
        !ValidNow(server->certificate.get()) ||
        X509_verify(server->certificate.get(), X509_get0_pubkey(ca->certificate.get())) != 1) {
        return std::nullopt;
    }
    return server;
}

[[nodiscard]] bool WritePair(const std::filesystem::path& folder, const Pair& pair,
                             const char* certificateName, const char* keyName) {
    return WriteTextFile(folder / keyName, certgen::ToPem(pair.key.get()), kPrivateMode) &&
           WriteTextFile(folder / certificateName, certgen::ToPem(pair.certificate.get()),
                         kPublicMode);
}

// Throws when OpenSSL fails; nothing when a file cannot be written.
std::optional<Pair> MakeServer(const std::filesystem::path& folder) {
    Pair ca{nullptr, certgen::MakeKey()};
    ca.certificate = certgen::MakeCertificate({"caspo-backend CA", {}, true, -kDay, kCaLifetime},
                                              ca.key.get(), nullptr, nullptr);
    Pair server{nullptr, certgen::MakeKey()};
    server.certificate = certgen::MakeCertificate(
        {"127.0.0.1", {"IP:127.0.0.1", "DNS:localhost"}, false, -kDay, kServerLifetime},
        server.key.get(), ca.certificate.get(), ca.key.get());
    if (!WritePair(folder, ca, kCaFileName, kCaKeyFileName) ||
        !WritePair(folder, server, kServerFileName, kServerKeyFileName)) {
        return std::nullopt;
    }
    return server;
}

std::optional<ServerIdentity> IdentityIn(const std::filesystem::path& folder) {
    if (auto reused = ReuseServer(folder)) {
        return ServerIdentity{std::move(reused->certificate), std::move(reused->key), false};
    }
    if (auto made = MakeServer(folder)) {
        return ServerIdentity{std::move(made->certificate), std::move(made->key), true};
    }
    return std::nullopt;
}

}  // namespace

TlsFolder PrepareTlsFolder(const std::filesystem::path& folder) {
    const std::string where = folder.string();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        return {std::nullopt, "cannot create the TLS folder " + where + ": " + error.message()};
    }
    try {
        auto identity = IdentityIn(folder);
        const auto caPem = tools::ReadWholeFile(folder / kCaFileName);
        if (!identity || !caPem ||
            !WriteTextFile(folder / kTrustFileName, TrustImportJson(*caPem), kPublicMode)) {
            return {std::nullopt, "cannot write the certificates in " + where};
        }
        return {std::move(identity), {}};
    } catch (const std::exception& failure) {
        return {std::nullopt, std::string(failure.what()) + " (in " + where + ")"};
    }
}

}  // namespace hvx::backend
