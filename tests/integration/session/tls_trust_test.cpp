// TLS trust end to end: where the CA is configured and whether verification is on decide
// whether the handshake with the test server succeeds. Certificates that are bad in themselves
// (expired, not yet valid, another host, self-signed, an unknown CA) are cases of the hostile
// suite (tests/integration/hostile).
#include <curl/curl.h>

#include "shared_agent/util/cert_mgr_loader.h"
#include "support/config_keys.h"
#include "tests/integration/session/integration_helpers.h"
#include "tests/support/fake_config.h"
#include "tests/support/net/test_server.h"

namespace hvx::test {
namespace {

enum class CaKey { kNone, kTrustedCerts, kEstCert };

struct TrustCase {
    const char* name;
    CaKey where;
    bool verify;
    int transfer;  // the engine's result
};

class TlsTrust : public ::testing::TestWithParam<TrustCase> {
protected:
    // The trusted certificates are process-wide: each case loads them from its own store.
    void SetUp() override { CertMgrLoader::UnloadCerts(); }
    void TearDown() override { CertMgrLoader::UnloadCerts(); }

    NoEnvironmentProxies noProxies;
};

TEST_P(TlsTrust, HandshakeOutcome) {
    const TrustCase& c = GetParam();
    FakeConfig config;
    const std::string& ca = TestCertificates::Shared().Ca().certificatePem;
    if (c.where == CaKey::kTrustedCerts) {
        config.PutCertificates(keys::kTrustedCerts, ca);
    } else if (c.where == CaKey::kEstCert) {
        config.PutNarrow(keys::kEstCaCert, ca);
    }
    config.PutDword(keys::kVerifyHost, c.verify ? 1 : 0);
    config.PutDword(keys::kVerifyPeer, c.verify ? 1 : 0);
    TestServer server(TestCertificates::Shared().Server());
    server.SetDefaultResponse({.status = 200, .body = "trusted"});

    const Outcome outcome = FetchThroughSession(config, server.Url("/trust"));
    EXPECT_EQ(outcome.transfer, c.transfer);
    EXPECT_EQ(outcome.status, c.transfer == CURLE_OK ? 200u : 0u);
    EXPECT_EQ(server.Requests().size(), c.transfer == CURLE_OK ? 1u : 0u);
}

// The engine trusts nothing of its own: without a configured CA the system roots do not vouch
// for the test server.
INSTANTIATE_TEST_SUITE_P(
    CaSources, TlsTrust,
    ::testing::Values(TrustCase{"TrustedCerts", CaKey::kTrustedCerts, true, CURLE_OK},
                      TrustCase{"EstCert", CaKey::kEstCert, true, CURLE_OK},
                      TrustCase{"NoCa", CaKey::kNone, true, CURLE_PEER_FAILED_VERIFICATION},
                      TrustCase{"NoCaUnverified", CaKey::kNone, false, CURLE_OK}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace hvx::test
