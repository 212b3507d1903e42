// TLS trust end to end: where the CA is configured, which certificate the server presents, and
// whether verification is on decide whether the handshake succeeds.
#include <curl/curl.h>

#include "shared_agent/util/cert_mgr_loader.h"
#include "support/config_keys.h"
#include "tests/integration/session/integration_helpers.h"
#include "tests/support/fake_config.h"
#include "tests/support/net/test_server.h"

namespace hvx::test {
namespace {

enum class CaKey { kNone, kTrustedCerts, kEstCert };
enum class Presented { kServer, kExpired, kOtherHost, kUntrusted };

struct TrustCase {
    CaKey where;
    Presented presented;
    bool verify;
    int transfer;  // the engine's result
};

const PemIdentity& Identity(Presented presented) {
    const TestCertificates& certs = TestCertificates::Shared();
    const PemIdentity* const identities[] = {&certs.Server(), &certs.Expired(), &certs.OtherHost(),
                                             &certs.UntrustedServer()};
    return *identities[static_cast<int>(presented)];
}

void Configure(FakeConfig& config, const TrustCase& c) {
    const std::string& ca = TestCertificates::Shared().Ca().certificatePem;
    if (c.where == CaKey::kTrustedCerts) {
        config.PutCertificates(keys::kTrustedCerts, ca);
    } else if (c.where == CaKey::kEstCert) {
        config.PutNarrow(keys::kEstCaCert, ca);
    }
    config.PutDword(keys::kVerifyHost, c.verify ? 1 : 0);
    config.PutDword(keys::kVerifyPeer, c.verify ? 1 : 0);
}

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
    Configure(config, c);
    TestServer server(Identity(c.presented));
    server.SetDefaultResponse({.status = 200, .body = "trusted"});

    const Outcome outcome = FetchThroughSession(config, server.Url("/trust"));
    EXPECT_EQ(outcome.transfer, c.transfer);
    EXPECT_EQ(outcome.status, c.transfer == CURLE_OK ? 200u : 0u);
    EXPECT_EQ(server.Requests().size(), c.transfer == CURLE_OK ? 1u : 0u);
}

// "Server_Verified", "Expired_Unverified", ...: test names that say what each case is.
std::string CaseName(const ::testing::TestParamInfo<TrustCase>& info) {
    constexpr const char* kPresented[] = {"Server", "Expired", "OtherHost", "Untrusted"};
    return std::string(kPresented[static_cast<int>(info.param.presented)]) +
           (info.param.verify ? "_Verified" : "_Unverified");
}

constexpr int kOk = CURLE_OK;
constexpr int kRefused = CURLE_PEER_FAILED_VERIFICATION;

INSTANTIATE_TEST_SUITE_P(
    CaUnderTrustedCerts, TlsTrust,
    ::testing::Values(TrustCase{CaKey::kTrustedCerts, Presented::kServer, true, kOk},
                      TrustCase{CaKey::kTrustedCerts, Presented::kExpired, true, kRefused},
                      TrustCase{CaKey::kTrustedCerts, Presented::kOtherHost, true, kRefused},
                      TrustCase{CaKey::kTrustedCerts, Presented::kUntrusted, true, kRefused},
                      TrustCase{CaKey::kTrustedCerts, Presented::kExpired, false, kOk},
                      TrustCase{CaKey::kTrustedCerts, Presented::kUntrusted, false, kOk}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    CaUnderEstCert, TlsTrust,
    ::testing::Values(TrustCase{CaKey::kEstCert, Presented::kServer, true, kOk},
                      TrustCase{CaKey::kEstCert, Presented::kExpired, true, kRefused},
                      TrustCase{CaKey::kEstCert, Presented::kOtherHost, true, kRefused},
                      TrustCase{CaKey::kEstCert, Presented::kUntrusted, true, kRefused},
                      TrustCase{CaKey::kEstCert, Presented::kOtherHost, false, kOk}),
    CaseName);

// The engine trusts nothing of its own: without a configured CA the system roots do not vouch
// for the test server.
INSTANTIATE_TEST_SUITE_P(
    NoCaConfigured, TlsTrust,
    ::testing::Values(TrustCase{CaKey::kNone, Presented::kServer, true, kRefused},
                      TrustCase{CaKey::kNone, Presented::kServer, false, kOk}));

}  // namespace
}  // namespace hvx::test
