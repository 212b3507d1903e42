// TLS verification of the engine: trust comes only from the caller's TLS-context callback, and
// each flag turns on its own check. The certificates that are bad in themselves are cases of the
// hostile suite (tests/integration/hostile), through a session.
#include <curl/curl.h>
#include <gtest/gtest.h>

#include "tests/support/net/test_certs.h"
#include "tests/support/net/test_server.h"
#include "tests/unit/mirel/engine_helpers.h"
#include "tests/unit/mirel/tls_helpers.h"

namespace hvx::test {
namespace {

struct TlsCase {
    const char* name;
    const PemIdentity& (TestCertificates::*presented)() const;
    std::uint32_t flags;
    bool trustTestCa;
    int expected;
};

TEST(MirelTls, VerificationFollowsFlagsAndCallbackTrust) {
    const std::vector<TlsCase> cases = {
        {"verification on, no trust installed", &TestCertificates::Server,
         kVerifyHost | kVerifyPeer, false, CURLE_PEER_FAILED_VERIFICATION},
        {"another host, host check off", &TestCertificates::OtherHost, kVerifyPeer, true, CURLE_OK},
    };
    const TestCertificates& certificates = TestCertificates::Shared();
    for (const TlsCase& c : cases) {
        SCOPED_TRACE(c.name);
        TestServer server((certificates.*c.presented)());
        server.Enqueue({.body = "secret"});
        const EnginePtr engine = NewEngine();
        ASSERT_TRUE(engine);
        ASSERT_EQ(engine->SetSslVerification(c.flags, 0, nullptr), CURLE_OK);
        if (c.trustTestCa) {
            TrustCa(*engine, certificates.Ca().certificatePem);
        }
        EXPECT_EQ(engine->Get(Wide(server.Url("/tls")).c_str()), c.expected);
        if (c.expected == CURLE_OK) {
            EXPECT_EQ(ReadWholeBody(*engine, nullptr), "secret");
        } else {
            EXPECT_STRNE(engine->GetErrorBufferText(), "");
        }
    }
}

}  // namespace
}  // namespace hvx::test
