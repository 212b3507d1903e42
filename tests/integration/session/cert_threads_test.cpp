// Several threads initialising sessions at once: the trusted certificates are loaded once, and
// every thread's handshake is verified against them. Run it under the thread sanitizer too.
#include <curl/curl.h>

#include <thread>
#include <vector>

#include "shared_agent/util/cert_mgr_loader.h"
#include "support/config_keys.h"
#include "tests/integration/session/integration_helpers.h"
#include "tests/support/fake_config.h"
#include "tests/support/log_capture.h"
#include "tests/support/net/test_server.h"

namespace hvx::test {
namespace {

constexpr int kThreads = 8;
constexpr int kSessionsPerThread = 3;

TEST(CertLoadingUnderThreads, CertificatesLoadOnceAndEveryHandshakeIsVerified) {
    const NoEnvironmentProxies noProxies;
    CertMgrLoader::UnloadCerts();
    FakeConfig config;
    config.PutCertificates(keys::kTrustedCerts, TestCertificates::Shared().Ca().certificatePem);
    config.PutDword(keys::kVerifyHost, 1);
    config.PutDword(keys::kVerifyPeer, 1);
    TestServer server(TestCertificates::Shared().Server());
    const LogCapture log;

    std::vector<std::vector<Outcome>> outcomes(kThreads);
    std::vector<std::thread> threads;
    threads.reserve(kThreads);
    for (auto& mine : outcomes) {
        threads.emplace_back([&config, &server, &mine] {
            for (int i = 0; i < kSessionsPerThread; ++i) {
                mine.push_back(FetchThroughSession(config, server.Url("/threads")));
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (const auto& mine : outcomes) {
        for (const Outcome& outcome : mine) {
            EXPECT_EQ(outcome.transfer, CURLE_OK);
            EXPECT_EQ(outcome.status, 200u);
        }
    }
    const auto traces = log.Traces();
    EXPECT_EQ(std::count(traces.begin(), traces.end(),
                         "CertMgrLoader::Init certs loaded from certificate manager"),
              1);
    EXPECT_EQ(server.Requests().size(), static_cast<std::size_t>(kThreads * kSessionsPerThread));
    CertMgrLoader::UnloadCerts();
}

}  // namespace
}  // namespace hvx::test
