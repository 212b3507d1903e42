#include "tests/unit/tolva/tolva_fixture.h"

#include <array>

#include "tests/support/net/certificate_builder.h"

namespace tolva::test {

std::optional<std::u16string> WideOf(hvx::IConfig& config, const char* key, WideRead read) {
    char16_t* text = (config.*read)(key);
    if (text == nullptr) {
        return std::nullopt;
    }
    std::u16string copy(text);
    config.FreeString(text);
    return copy;
}

std::optional<std::string> NarrowOf(hvx::IConfig& config, const char* key) {
    char* text = config.GetStringA(key);
    if (text == nullptr) {
        return std::nullopt;
    }
    std::string copy(text);
    config.FreeStringA(text);
    return copy;
}

std::string MakeCertificatePem(const std::string& commonName) {
    const auto key = hvx::test::MakeKey();
    hvx::test::CertificateRequest request;
    request.commonName = commonName;
    const auto certificate = hvx::test::MakeCertificate(request, key.get(), nullptr, key.get());
    return hvx::test::ToPem(certificate.get());
}

std::string CommonName(X509* certificate) {
    std::array<char, 256> name{};
    X509_NAME_get_text_by_NID(X509_get_subject_name(certificate), NID_commonName, name.data(),
                              static_cast<int>(name.size()));
    return name.data();
}

std::unique_ptr<CConfig> StoreTest::Open(const std::string& path) {
    auto config = std::make_unique<CConfig>(path);
    EXPECT_EQ(config->Load(0), 1);
    return config;
}

}  // namespace tolva::test
