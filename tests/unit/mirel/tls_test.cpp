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

// Host verification off, peer verification on: a certificate for another host passes once the
// caller's callback trusts its CA. Without that trust nothing passes (TlsTrust.HandshakeOutcome).
TEST(MirelTls, EachFlagTurnsOnItsOwnCheck) {
    const TestCertificates& certificates = TestCertificates::Shared();
    TestServer server(certificates.OtherHost());
    server.Enqueue({.body = "secret"});
    const EnginePtr engine = NewEngine();
    ASSERT_TRUE(engine);
    ASSERT_EQ(engine->SetSslVerification(kVerifyPeer, 0, nullptr), CURLE_OK);
    TrustCa(*engine, certificates.Ca().certificatePem);
    EXPECT_EQ(engine->Get(Wide(server.Url("/tls")).c_str()), CURLE_OK);
    EXPECT_EQ(ReadWholeBody(*engine, nullptr), "secret");
}

}  // namespace
}  // namespace hvx::test
