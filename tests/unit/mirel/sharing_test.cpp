// Fresh instances one after the other reuse the thread's connections, the process's TLS sessions
// and the thread's released easy handle, and take nothing else from the instance before them.
#include <curl/curl.h>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
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

struct LeftBehindCase {
    const char* name;
    // Applied to the first instance.
    std::function<void(ITransferEngine&)> change;
    bool tls;
    // The header the next request must not carry; null for none.
    const char* absentHeader;
    int nextResult;
    // Cookies come from a transfer, so Setup right after the change cannot show them.
    bool releasedOnly;
};

void SetText(ITransferEngine& engine, int option, const char* text) {
    ASSERT_EQ(engine.SetOption(option, reinterpret_cast<std::intptr_t>(text)), CURLE_OK);
}

// What a caller set on an instance reaches neither the instance that next gets the thread's
// released handle nor the same instance after Setup. The first instance runs one transfer
// before it is released; libcurl keeps cookies across a reset, so an instance that turned them
// on gives its handle to nobody.
TEST(MirelSharing, NothingSetOnAnInstanceReachesTheNextOneOrOutlivesSetup) {
    const std::vector<LeftBehindCase> cases = {
        {"user agent", [](auto& e) { SetText(e, CURLOPT_USERAGENT, "left-behind"); }, false,
         "User-Agent", CURLE_OK, false},
        {"header line", [](auto& e) { ASSERT_EQ(e.AppendHeader(u"X-Left: behind"), 0); }, false,
         "X-Left", CURLE_OK, false},
        {"cookies", [](auto& e) { SetText(e, CURLOPT_COOKIEFILE, ""); }, false, "Cookie", CURLE_OK,
         true},
        {"verification off", [](auto& e) { ASSERT_EQ(e.SetSslVerification(0, 0, nullptr), 0); },
         true, nullptr, CURLE_PEER_FAILED_VERIFICATION, false},
    };
    const TestCertificates& certificates = TestCertificates::Shared();
    for (const LeftBehindCase& c : cases) {
        for (const bool released : {true, false}) {
            if (c.releasedOnly && !released) {
                continue;
            }
            SCOPED_TRACE(std::string(c.name) + (released ? ", released" : ", Setup"));
            std::optional<TestServer> server;
            if (c.tls) {
                server.emplace(certificates.Server());
            } else {
                server.emplace();
            }
            server->SetDefaultResponse({.headers = {{"Set-Cookie", "left=behind"}},
                                        .body = "ok",
                                        .closeConnection = true});
            EnginePtr engine = NewEngine();
            ASSERT_TRUE(engine);
            c.change(*engine);
            const std::u16string url = Wide(server->Url("/"));
            if (released) {
                ASSERT_EQ(engine->Get(url.c_str()), CURLE_OK);
                engine.reset();
                engine = NewEngine();
                ASSERT_TRUE(engine);
            } else {
                ASSERT_EQ(engine->Setup(), CURLE_OK);
            }
            EXPECT_EQ(engine->Get(url.c_str()), c.nextResult);
            const std::vector<RecordedRequest> requests = server->Requests();
            if (c.absentHeader != nullptr) {
                ASSERT_FALSE(requests.empty());
                EXPECT_EQ(requests.back().Header(c.absentHeader), std::nullopt);
            }
        }
    }
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
