// What an engine instance puts on the wire: methods, bodies, header lines, ports, redirects.
#include <curl/curl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>

#include "tests/support/net/test_server.h"
#include "tests/unit/mirel/engine_helpers.h"

namespace hvx::test {
namespace {

using MirelWire = EngineTest;

struct MethodCase {
    const char* name;
    std::function<int(ITransferEngine&, const char16_t*)> run;
    std::string method;
    std::string body;
    std::optional<std::string> contentLength;
    std::optional<std::string> contentType;
};

constexpr std::string_view kBinaryBody("a=1\0&b=\r\n", 9);

// One instance runs every case in turn, so each also shows that the method of the transfer
// before it was reset.
TEST_F(MirelWire, MethodsSendTheirBodiesAsGiven) {
    // libcurl would ask for "100-continue" before a body of more than 1 MiB.
    const std::string large = PatternedBody(std::size_t{2} << 20);
    const std::vector<MethodCase> cases = {
        {"POST with bytes", [](auto& e, auto* url) { return e.Post(url, kBinaryBody.data(), 9); },
         "POST", std::string(kBinaryBody), "9", "application/x-www-form-urlencoded"},
        {"GET after POST", [](auto& e, auto* url) { return e.Get(url); }, "GET", "", std::nullopt,
         std::nullopt},
        {"PUT without body", [](auto& e, auto* url) { return e.Put(url, nullptr, 0); }, "PUT", "",
         "0", std::nullopt},
        {"POST without body", [](auto& e, auto* url) { return e.Post(url, nullptr, 0); }, "POST",
         "", "0", "application/x-www-form-urlencoded"},
        {"PUT with bytes", [](auto& e, auto* url) { return e.Put(url, "data", 4); }, "PUT", "data",
         "4", std::nullopt},
        {"GET after PUT", [](auto& e, auto* url) { return e.Get(url); }, "GET", "", std::nullopt,
         std::nullopt},
        {"large POST without waiting",
         [&large](auto& e, auto* url) {
             return e.Post(url, large.data(), static_cast<std::uint32_t>(large.size()));
         },
         "POST", large, std::to_string(large.size()), "application/x-www-form-urlencoded"},
    };
    const std::u16string url = Wide(server.Url("/path/x?q=1&r=%20"));
    for (const MethodCase& c : cases) {
        ASSERT_EQ(c.run(*engine, url.c_str()), CURLE_OK) << c.name;
    }
    const std::vector<RecordedRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].name);
        EXPECT_EQ(requests[i].method, cases[i].method);
        EXPECT_EQ(requests[i].target, "/path/x?q=1&r=%20");
        EXPECT_EQ(requests[i].body, cases[i].body);
        EXPECT_EQ(requests[i].Header("Content-Length"), cases[i].contentLength);
        EXPECT_EQ(requests[i].Header("Content-Type"), cases[i].contentType);
        EXPECT_FALSE(requests[i].Header("Transfer-Encoding"));
        EXPECT_FALSE(requests[i].Header("Expect"));
    }
}

// Refused lines (line breaks, text that is not UTF-16, null) reach no transfer; the others go
// out in order on every later transfer.
TEST_F(MirelWire, HeaderLinesGoOutInOrderAsUtf8AndBadOnesAreRefused) {
    const std::vector<const char16_t*> refused = {
        u"X-Bad: 1\r\nX-Injected: 2", u"X-Bad: 1\nX-Injected: 2", u"X-Bad: 1\rX-Injected: 2",
        u"X-Bad: \xD800 lone surrogate", nullptr};
    ASSERT_EQ(engine->AppendHeader(u"X-First: 1"), CURLE_OK);
    for (const char16_t* line : refused) {
        EXPECT_EQ(engine->AppendHeader(line), CURLE_BAD_FUNCTION_ARGUMENT);
        EXPECT_STRNE(engine->GetErrorBufferText(), "");
    }
    ASSERT_EQ(engine->AppendHeader(u"X-Second: caf\u00e9 \u20ac"), CURLE_OK);
    ASSERT_EQ(engine->AppendHeader(u"X-Third: 3\r\n"), CURLE_OK);
    const std::u16string url = Wide(server.Url("/"));
    ASSERT_EQ(engine->Get(url.c_str()), CURLE_OK);
    ASSERT_EQ(engine->Post(url.c_str(), "k=v", 3), CURLE_OK);

    const std::vector<std::string> expected = {"X-First: 1", "X-Second: caf\xC3\xA9 \xE2\x82\xAC",
                                               "X-Third: 3"};
    const std::vector<RecordedRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 2U);
    for (const RecordedRequest& request : requests) {
        std::vector<std::string> custom;
        std::ranges::copy_if(request.headerLines, std::back_inserter(custom),
                             [](const std::string& line) { return line.starts_with("X-"); });
        EXPECT_EQ(custom, expected);
    }
}

TEST_F(MirelWire, RedirectReachesTheCallerAndManagedOptionsAreRefused) {
    server.Enqueue({.status = 302, .headers = {{"Location", "/elsewhere"}}, .body = "moved"});
    EXPECT_EQ(engine->SetOption(CURLOPT_FOLLOWLOCATION, 1), CURLE_BAD_FUNCTION_ARGUMENT);
    static const char* const kBundle = "/etc/ssl/certs/ca-certificates.crt";
    EXPECT_EQ(engine->SetOption(CURLOPT_CAINFO, reinterpret_cast<std::intptr_t>(kBundle)),
              CURLE_BAD_FUNCTION_ARGUMENT);
    EXPECT_EQ(engine->SetCallbackData(CURLOPT_HTTPHEADER, nullptr), CURLE_BAD_FUNCTION_ARGUMENT);

    ASSERT_EQ(engine->Get(Wide(server.Url("/start")).c_str()), CURLE_OK);
    std::uint32_t status = 0;
    ASSERT_EQ(engine->GetResponseCode(&status), CURLE_OK);
    EXPECT_EQ(status, 302U);
    EXPECT_EQ(ReadWholeBody(*engine, nullptr), "moved");
    EXPECT_EQ(server.Requests().size(), 1U);
}

// A port that nothing listens on: the port of a server that has stopped.
std::uint16_t ClosedPort() {
    const TestServer stopped;
    return stopped.Port();
}

TEST_F(MirelWire, CallerPortAppliesOnlyWhenTheUrlNamesNone) {
    struct PortCase {
        const char* name;
        std::string url;
        std::uint16_t callerPort;
    };
    const std::vector<PortCase> cases = {
        {"URL without port takes the caller's", "http://127.0.0.1/no-port", server.Port()},
        {"port in the URL wins", server.Url("/own-port"), ClosedPort()},
        {"port in the URL wins over the scheme's", server.Url("/own-over-scheme"), 80},
    };
    for (const PortCase& c : cases) {
        const EnginePtr fresh = NewEngine();
        ASSERT_TRUE(fresh);
        ASSERT_EQ(fresh->SetOption(CURLOPT_PORT, c.callerPort), CURLE_OK) << c.name;
        EXPECT_EQ(fresh->Get(Wide(c.url).c_str()), CURLE_OK) << c.name;
    }
    const std::vector<RecordedRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_TRUE(cases[i].url.ends_with(requests[i].target)) << cases[i].name;
    }
}

}  // namespace
}  // namespace hvx::test
