// The ROOT store as the platform layer gives it: the system bundle, names and Base64 lengths.
#include <gtest/gtest.h>
#include <openssl/x509.h>

#include "platform/cert_store.h"
#include "platform/last_error.h"
#include "tests/support/net/test_certs.h"
#include "tests/support/scoped_root_store.h"

namespace hvx::test {
namespace {

TEST(PlatformCertStore, TheSystemRootStoreHoldsCertificatesThatDecode) {
    const os::CertStoreHandle store = os::OpenSystemCertStore(u"ROOT");
    ASSERT_NE(store, nullptr) << "no CA bundle on this machine";
    os::CertEnumeration pass(*store);
    std::size_t count = 0;
    while (pass.Next()) {
        const unsigned char* next = pass.Encoded();
        X509* decoded = d2i_X509(nullptr, &next, pass.EncodedSize());
        EXPECT_NE(decoded, nullptr);
        X509_free(decoded);
        char16_t name[256];
        EXPECT_GT(pass.DisplayName(name, 256), 1u);
        ++count;
    }
    EXPECT_GT(count, 10u);
    EXPECT_FALSE(pass.Next());
}

TEST(PlatformCertStore, NamesAndSubstitutes) {
    EXPECT_EQ(os::OpenSystemCertStore(u"CASPO-NO-SUCH-STORE"), nullptr);
    EXPECT_EQ(os::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    const ScopedRootStore substitute({TestCertificates::Shared().Ca().certificatePem});
    const os::CertStoreHandle store = os::OpenSystemCertStore(u"root");
    ASSERT_NE(store, nullptr);
    os::CertEnumeration pass(*store);
    ASSERT_TRUE(pass.Next());
    char16_t name[256];
    EXPECT_EQ(pass.DisplayName(name, 256), 14u);
    EXPECT_EQ(std::u16string(name), u"caspo test CA");
    EXPECT_EQ(pass.DisplayName(name, 6), 6u);
    EXPECT_EQ(std::u16string(name), u"caspo");
    EXPECT_FALSE(pass.Next());
}

TEST(PlatformCertStore, Base64LengthCountsLineEndsAndTheZero) {
    const std::pair<DWORD, DWORD> cases[] = {{1, 7},   {3, 7},   {4, 11},
                                             {48, 67}, {49, 73}, {96, 133}};
    const std::vector<unsigned char> bytes(96, 0xAB);
    for (const auto& [size, expected] : cases) {
        DWORD length = 0;
        EXPECT_TRUE(os::GetBase64Length(bytes.data(), size, &length));
        EXPECT_EQ(length, expected) << size;
    }
    DWORD length = 0;
    EXPECT_FALSE(os::GetBase64Length(bytes.data(), 0, &length));
    EXPECT_EQ(os::GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace
}  // namespace hvx::test
