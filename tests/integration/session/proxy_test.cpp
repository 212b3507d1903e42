// Transfers through a real proxy (tinyproxy), configured under sabko's keys.
#include <curl/curl.h>

#include "shared_agent/util/cert_mgr_loader.h"
#include "siblings/sabko/proxy_keys.h"
#include "support/config_keys.h"
#include "tests/integration/session/integration_helpers.h"
#include "tests/support/fake_config.h"
#include "tests/support/net/test_server.h"
#include "tests/support/tinyproxy_process.h"

namespace hvx::test {
namespace {

class ThroughProxy : public ::testing::Test {
protected:
    void SetUp() override {
        if (!TinyproxyProcess::Installed()) {
            GTEST_SKIP() << "tinyproxy is not installed (scripts/install-deps.sh installs it)";
        }
        server.SetDefaultResponse({.status = 200, .body = "from the origin"});
    }

    void UseProxy(const TinyproxyProcess& proxy) {
        config.PutWide(proxy_keys::kHost, u"127.0.0.1");
        config.PutDword(proxy_keys::kPort, proxy.Port());
    }

    // The Via header tinyproxy adds to what it forwards, if the request came that way.
    std::optional<std::string> ViaOfRequest(std::size_t index) const {
        return server.Requests().at(index).Header("Via");
    }

    NoEnvironmentProxies noProxies;
    FakeConfig config;
    TestServer server;
};

TEST_F(ThroughProxy, CredentialsAreRequiredAndSent) {
    const TinyproxyProcess proxy(ProxyCredentials{"alice", "s3cret"});
    UseProxy(proxy);
    const Outcome refused = FetchThroughSession(config, server.Url("/refused"));
    EXPECT_EQ(refused.transfer, CURLE_OK);
    EXPECT_EQ(refused.status, 407u);
    EXPECT_TRUE(server.Requests().empty());

    config.PutWide(proxy_keys::kUser, u"alice");
    config.PutWide(proxy_keys::kPassword, u"s3cret");
    const Outcome accepted = FetchThroughSession(config, server.Url("/accepted"));
    EXPECT_EQ(accepted.status, 200u);
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].target, "/accepted");
    ASSERT_TRUE(ViaOfRequest(0).has_value()) << proxy.Log();
    EXPECT_NE(ViaOfRequest(0)->find("tinyproxy"), std::string::npos);
}

TEST_F(ThroughProxy, BypassedHostsAreReachedDirectly) {
    const TinyproxyProcess proxy;
    UseProxy(proxy);
    config.PutWide(proxy_keys::kBypass, u"localhost,127.0.0.1");
    const Outcome outcome = FetchThroughSession(config, server.Url("/direct"));
    EXPECT_EQ(outcome.status, 200u);
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_FALSE(ViaOfRequest(0).has_value());
}

TEST_F(ThroughProxy, HttpsIsTunnelledAndStillVerified) {
    CertMgrLoader::UnloadCerts();
    const TinyproxyProcess proxy;
    UseProxy(proxy);
    config.PutCertificates(keys::kTrustedCerts, TestCertificates::Shared().Ca().certificatePem);
    config.PutDword(keys::kVerifyHost, 1);
    config.PutDword(keys::kVerifyPeer, 1);
    TestServer secure(TestCertificates::Shared().Server());
    const Outcome outcome = FetchThroughSession(config, secure.Url("/tunnel"));
    EXPECT_EQ(outcome.transfer, CURLE_OK);
    EXPECT_EQ(outcome.status, 200u);
    EXPECT_NE(proxy.Log().find("CONNECT 127.0.0.1:" + std::to_string(secure.Port())),
              std::string::npos)
        << proxy.Log();
    CertMgrLoader::UnloadCerts();
}

}  // namespace
}  // namespace hvx::test
