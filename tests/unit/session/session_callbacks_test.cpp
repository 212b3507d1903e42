// The callbacks the engine calls into a session: header, progress and debug.
#include <cstddef>
#include <limits>
#include <tuple>

#include "support/trace_levels.h"
#include "tests/support/session_fixture.h"

namespace hvx::test {
namespace {

constexpr std::size_t kAbort = std::numeric_limits<std::size_t>::max();

struct HeaderCase {
    std::string line;
    const char16_t* lastModified;  // what the session holds afterwards
};

TEST(SessionParseHeader, LastModifiedCases) {
    constexpr const char16_t* kKept = u"kept";
    const HeaderCase cases[] = {
        {"Last-Modified: Wed, 21 Oct 2015 07:28:00 GMT\r\n", u"Wed, 21 Oct 2015 07:28:00 GMT\r\n"},
        // Anywhere in the line, from the fifteenth character after the name's start.
        {"X-Last-Modified: abc\r\n", u"abc\r\n"},
        {"Last-Modified:Tue", u"ue"},
        {"Last-Modified: caf\xc3\xa9", u"caf\u00e9"},
        // The name compares with letter case.
        {"last-modified: Wed\r\n", kKept},
        {"LAST-MODIFIED: Wed\r\n", kKept},
        // Fewer than two characters after the name, or an empty value.
        {"Last-Modified:", kKept},
        {"Last-Modified:x", kKept},
        {"Last-Modified: ", kKept},
        // The line ends at its first zero byte.
        {std::string("Last-Modified: \0Wed", 19), kKept},
        // A value that is not UTF-8.
        {"Last-Modified: \xff\r\n", kKept},
        {"Content-Length: 10\r\n", kKept},
    };
    for (const HeaderCase& c : cases) {
        SCOPED_TRACE(c.line);
        CHttpCurl session;
        ASSERT_EQ(session.SetLastModified(kKept), S_OK);
        std::string line = c.line;
        EXPECT_EQ(CHttpCurl::ParseHeader(line.data(), 1, line.size(), &session), line.size());
        EXPECT_EQ(session.LastModified(), c.lastModified);
    }
}

TEST(SessionParseHeader, AbortsWithoutASessionOrOnOverflow) {
    char line[] = "Last-Modified: x";
    CHttpCurl session;
    EXPECT_EQ(CHttpCurl::ParseHeader(line, 1, sizeof line - 1, nullptr), kAbort);
    EXPECT_EQ(CHttpCurl::ParseHeader(line, kAbort / 2 + 1, 2, &session), kAbort);
    EXPECT_EQ(CHttpCurl::ParseHeader(line, 1, kAbort - 8, &session), kAbort);
    EXPECT_EQ(session.LastModified(), u"");
}

TEST(SessionLastModified, AnEmptyValueIsRefused) {
    CHttpCurl session;
    EXPECT_EQ(session.SetLastModified(u"Tue"), S_OK);
    EXPECT_EQ(session.SetLastModified(u""), HVX_E_INVALID_ARGUMENT);
    EXPECT_EQ(session.LastModified(), u"Tue");
}

using SessionCallbacks = SessionTest;

TEST_F(SessionCallbacks, TheEngineDeliversHeadersToTheSession) {
    engines.script.headerLines = {"HTTP/1.1 200 OK\r\n", "Last-Modified: Mon\r\n", "\r\n"};
    CHttpCurl session;
    ASSERT_EQ(InitSession(session), S_OK);
    EXPECT_EQ(session.Engine()->Get(kUrl), kCurlOk);
    EXPECT_EQ(session.LastModified(), u"Mon\r\n");
}

TEST_F(SessionCallbacks, ShutdownCallableAbortsTheTransfer) {
    constexpr const char* kDetected =
        "hvx::CHttpCurl::GetShutdownStatus shutdown state detected, setting transfer abort "
        "conditions";
    bool shuttingDown = false;
    CHttpCurl session;
    ASSERT_EQ(InitSession(session, kUrl, 0, [&] { return shuttingDown; }), S_OK);
    EXPECT_EQ(session.Engine()->Get(kUrl), kCurlOk);
    EXPECT_FALSE(log.HasTrace(kDetected));

    shuttingDown = true;
    EXPECT_EQ(session.Engine()->Get(kUrl), kCurlAbortedByCallback);
    EXPECT_EQ(log.TraceLevel(kDetected), kTraceGeneral);
}

TEST(SessionShutdownStatus, WithoutSessionOrCallable) {
    CHttpCurl session;
    EXPECT_EQ(CHttpCurl::GetShutdownStatus(nullptr, 0, 0, 0, 0), -1);
    EXPECT_EQ(CHttpCurl::GetShutdownStatus(&session, 1, 2, 3, 4), 0);
}

// The engine's informational text (type 0; headers and data are not traced) goes into the trace
// as its first 256 bytes at most, cut before a UTF-8 sequence, and without the value of an
// authorization header it names.
TEST(SessionDebugCallback, TracesTheFirstBytesAndNoCredentials) {
    const std::string kLong(256, 'a');
    const std::tuple<int, std::string, std::string> cases[] = {
        {0, kLong, kLong},
        {0, kLong + "b", kLong + "..."},
        {0, std::string(255, 'a') + "\xc3\xa9", std::string(255, 'a') + "..."},
        {0, std::string(254, 'a') + "\xe2\x82\xac", std::string(254, 'a') + "..."},
        {0, "h2h3 [authorization: Basic dXNlcjpwYXNz]", "h2h3 [authorization: (hidden)"},
        {0, "[HTTP/2] [1] [Proxy-Authorization: Basic cDpx]",
         "[HTTP/2] [1] [Proxy-Authorization: (hidden)"},
        {0, "Proxy auth using Basic with user 'agent'", "Proxy auth using Basic with user 'agent'"},
        {1, "Connected to", ""},
        {2, "Connected to", ""},
        {3, "Connected to", ""},
        {4, "Connected to", ""},
    };
    for (const auto& [type, text, traced] : cases) {
        SCOPED_TRACE(text);
        LogCapture log;
        std::string data = text;
        EXPECT_EQ(CHttpCurl::curl_print_callback(nullptr, type, data.data(), data.size(), nullptr),
                  0);
        const std::string line = "curl_print_callback CURL_DEBUG: " + traced;
        EXPECT_EQ(log.Traces(),
                  traced.empty() ? std::vector<std::string>{} : std::vector<std::string>{line});
        if (!traced.empty()) {
            EXPECT_EQ(log.TraceLevel(line), kTraceGeneral);
        }
    }
}

TEST(SessionWriteData, NothingIsWrittenWithoutSessionOrFile) {
    char data[] = "body";
    CHttpCurl session;
    EXPECT_EQ(CHttpCurl::WriteData(data, 1, 4, nullptr), 0u);
    EXPECT_EQ(CHttpCurl::WriteData(data, 1, 4, &session), 0u);
}

}  // namespace
}  // namespace hvx::test
