// Fresh instances one after the other reuse the thread's connections and the process's TLS
// sessions.
#include <curl/curl.h>
#include <gtest/gtest.h>

#include <thread>

#include "tests/support/net/test_certs.h"
#include "tests/support/net/test_server.h"
#include "tests/unit/mirel/engine_helpers.h"
#include "tests/unit/mirel/tls_helpers.h"

namespace hvx::test {
namespace {

// One GET through a fresh instance, as a client that builds a session per operation does.
int GetWithFreshEngine(const std::string& url, const std::string* trustedCa) {
    const EnginePtr engine = NewEngine();
    if (!engine) {
        return CURLE_FAILED_INIT;
    }
    if (trustedCa != nullptr) {
        TrustCa(*engine, *trustedCa);
    }
    return engine->Get(Wide(url).c_str());
}

TEST(MirelSharing, FreshInstancesOnOneThreadShareAConnection) {
    const TestCertificates& certificates = TestCertificates::Shared();
    TestServer plain;
    TestServer tls(certificates.Server());
    for (TestServer* server : {&plain, &tls}) {
        SCOPED_TRACE(server->Url());
        ASSERT_EQ(GetWithFreshEngine(server->Url("/first"), &certificates.Ca().certificatePem),
                  CURLE_OK);
        ASSERT_EQ(GetWithFreshEngine(server->Url("/second"), &certificates.Ca().certificatePem),
                  CURLE_OK);
        const std::vector<RecordedRequest> requests = server->Requests();
        ASSERT_EQ(requests.size(), 2U);
        EXPECT_EQ(requests[0].clientPort, requests[1].clientPort);
    }
}

TEST(MirelSharing, AnotherThreadUsesItsOwnConnection) {
    TestServer server;
    ASSERT_EQ(GetWithFreshEngine(server.Url("/here"), nullptr), CURLE_OK);
    int otherResult = -1;
    std::thread other([&] { otherResult = GetWithFreshEngine(server.Url("/there"), nullptr); });
    other.join();
    ASSERT_EQ(otherResult, CURLE_OK);
    const std::vector<RecordedRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 2U);
    EXPECT_NE(requests[0].clientPort, requests[1].clientPort);
}

int CollectText(void* /*handle*/, int type, char* data, std::size_t size, void* user) {
    if (type == CURLINFO_TEXT) {
        static_cast<std::string*>(user)->append(data, size);
    }
    return 0;
}

TEST(MirelSharing, FreshInstanceResumesTheTlsSession) {
    const TestCertificates& certificates = TestCertificates::Shared();
    TestServer server(certificates.Server());
    // Closed connections force a second handshake, which can then resume the first session.
    server.SetDefaultResponse({.body = "ok", .closeConnection = true});
    ASSERT_EQ(GetWithFreshEngine(server.Url("/first"), &certificates.Ca().certificatePem),
              CURLE_OK);

    const EnginePtr engine = NewEngine();
    ASSERT_TRUE(engine);
    TrustCa(*engine, certificates.Ca().certificatePem);
    std::string verbose;
    DebugCallback debug = &CollectText;
    ASSERT_EQ(engine->SetOption(CURLOPT_DEBUGFUNCTION, reinterpret_cast<std::intptr_t>(debug)),
              CURLE_OK);
    ASSERT_EQ(engine->SetOption(CURLOPT_DEBUGDATA, reinterpret_cast<std::intptr_t>(&verbose)),
              CURLE_OK);
    ASSERT_EQ(engine->SetOption(CURLOPT_VERBOSE, 1), CURLE_OK);
    ASSERT_EQ(engine->Get(Wide(server.Url("/second")).c_str()), CURLE_OK);

    const std::vector<RecordedRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 2U);
    EXPECT_NE(requests[0].clientPort, requests[1].clientPort);
    EXPECT_FALSE(requests[0].tlsSessionReused);
    EXPECT_TRUE(requests[1].tlsSessionReused);
    EXPECT_NE(verbose.find("SSL re-using session ID"), std::string::npos) << verbose;
}

}  // namespace
}  // namespace hvx::test
