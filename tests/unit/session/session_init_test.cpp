// Init of hvx::CHttpCurl against the scripted engine: each early return, the options it hands
// the engine, and how engine answers decide its result.
#include <optional>
#include <tuple>

#include "siblings/venit/os_version.h"
#include "support/config_keys.h"
#include "support/trace_levels.h"
#include "tests/support/session_fixture.h"

namespace hvx::test {
namespace {

using SessionInit = SessionTest;

// A session after a refused URL holds the defaults of a fresh one.
TEST_F(SessionInit, AnInvalidUrlChangesNothing) {
    for (const char* url : {"https://backend.example", "ftp://backend.example/",
                            "https://-backend.example/", "backend.example/api"}) {
        CHttpCurl session;
        log.Clear();
        EXPECT_EQ(session.Init(
                      u"PUT", Wide(url), [] { return false; }, &config, 0),
                  HVX_E_URL_INVALID);
        EXPECT_EQ(
            log.Errors(),
            std::vector<std::string>{
                std::string("Invalid web path given to Init (or bad regex): [ ") + url + " ]."});
        EXPECT_EQ(session.Method(), u"GET");
        EXPECT_EQ(session.Scheme(), u"https");
        EXPECT_EQ(session.Host(), u"");
        EXPECT_EQ(session.Path(), u"/");
        EXPECT_EQ(session.Port(), 443);
        EXPECT_EQ(session.UserAgent(), u"HalvexProtect/6.5.0.11255");
        EXPECT_EQ(session.Engine(), nullptr);
        EXPECT_FALSE(session.HasShutdownCallback());
    }
    EXPECT_EQ(engines.created, 0);
}

TEST_F(SessionInit, NoEngineInstance) {
    engines.failCreate = true;
    CHttpCurl session;
    EXPECT_EQ(InitSession(session, kUrl, 0, [] { return false; }), HVX_E_NO_ENGINE_INSTANCE);
    EXPECT_EQ(log.Errors(), std::vector<std::string>{"unable to get httpc instance"});
    EXPECT_EQ(session.Engine(), nullptr);
    EXPECT_FALSE(session.HasShutdownCallback());
}

TEST_F(SessionInit, SuccessWiresTheSessionIntoTheEngine) {
    config.productVersion = u"6.5.0.99";
    {
        CHttpCurl session;
        EXPECT_EQ(InitSession(session, kUrl, 0, [] { return false; }), S_OK);
        EXPECT_EQ(session.Method(), u"POST");
        EXPECT_EQ(session.Config(), &config);
        EXPECT_EQ(session.UserAgent(), u"HalvexProtect/6.5.0.99");
        EXPECT_TRUE(session.HasShutdownCallback());
        // The header and progress callbacks at work: SessionCallbacks; the TLS-context one: the
        // handshakes of TlsTrust.
        FakeEngine& engine = Engine();
        EXPECT_EQ(engine.setupCalls, 1);
        EXPECT_NE(engine.Option(curlopt::kUserAgent), nullptr);
        EXPECT_EQ(engine.Option(curlopt::kTimeout), nullptr);
        EXPECT_TRUE(log.Errors().empty());
        const auto osVersion = static_cast<std::int32_t>(Util::GetOsVersion());
        EXPECT_EQ(log.TraceLevel("hvx::CHttpCurl::Init osVersion: " + std::to_string(osVersion)),
                  kTraceGeneral);
    }
    EXPECT_EQ(engines.released, 1);
    EXPECT_EQ(config.outstanding, 0);
}

// A second Init gives the first engine instance back and undoes what the first one set; what
// was added to the request stays (the upload client sends earlier sections again).
TEST_F(SessionInit, ASecondInitReleasesTheFirstEngineAndBinding) {
    {
        config.productVersion = u"6.5.0.99";
        CHttpCurl session;
        ASSERT_EQ(InitSession(session, u"http://backend.example/a", 0, [] { return false; }), S_OK);
        session.AddHeader(u"X-First", u"1");
        session.AddSection(MultipartSection{});

        config.productVersion.reset();
        ASSERT_EQ(session.Init(u"GET", u"HTTP://other.example/x", {}, &config, 0), S_OK);
        EXPECT_EQ(engines.created, 2);
        EXPECT_EQ(engines.released, 1);
        EXPECT_EQ(session.Engine(), engines.last);
        EXPECT_EQ(session.Method(), u"GET");
        EXPECT_EQ(session.Host(), u"other.example");
        // The scheme in capitals keeps the port: a constructed session's, not the first URL's.
        EXPECT_EQ(session.Port(), 443);
        EXPECT_EQ(session.UserAgent(), u"HalvexProtect/6.5.0.11255");
        EXPECT_FALSE(session.HasShutdownCallback());
        EXPECT_EQ(session.Headers(), (std::vector<TextPair>{{u"X-First", u"1"}}));
        EXPECT_EQ(session.Sections().size(), 1U);
    }
    EXPECT_EQ(engines.released, 2);
}

// An engine result for one of the basic options: 0x1100 counts as success, 0x1000 does not,
// and then the progress callback is not installed, but the callable is still kept.
struct BasicOptionCase {
    const char* name;
    void (*script)(EngineScript&, int);
};

TEST_F(SessionInit, BasicOptionResultsFollowTheTransferRule) {
    const BasicOptionCase cases[] = {
        {"set-up", [](EngineScript& s, int r) { s.setupResult = r; }},
        {"header function", [](EngineScript& s, int r) { s.callbackResults[20079] = r; }},
        {"header data", [](EngineScript& s, int r) { s.callbackResults[10029] = r; }},
        {"user agent", [](EngineScript& s, int r) { s.optionResults[10018] = r; }},
    };
    for (const auto& [name, script] : cases) {
        for (const int result : {0x1100, 0x1000}) {
            SCOPED_TRACE(std::string(name) + " " + std::to_string(result));
            engines.script = {};
            script(engines.script, result);
            CHttpCurl session;
            const bool passes = result == 0x1100;
            EXPECT_EQ(InitSession(session, kUrl, 0, [] { return false; }),
                      passes ? S_OK : E_UNEXPECTED);
            EXPECT_EQ(Engine().callbacks.contains(curlopt::kProgressFunction), passes);
            EXPECT_TRUE(session.HasShutdownCallback());
        }
    }
}

struct TlsCase {
    std::optional<std::uint32_t> host;
    std::optional<std::uint32_t> peer;
    std::uint32_t flags;
};

TEST_F(SessionInit, TlsFlagsComeFromTheTwoKeys) {
    const TlsCase cases[] = {
        {1, 1, 6}, {std::nullopt, 1, 4},           {1, std::nullopt, 2}, {2, 2, 0},
        {1, 0, 2}, {std::nullopt, std::nullopt, 0}};
    for (const auto& [host, peer, flags] : cases) {
        SCOPED_TRACE(flags);
        config.Clear();
        if (host) {
            config.PutDword(keys::kVerifyHost, *host);
        }
        if (peer) {
            config.PutDword(keys::kVerifyPeer, *peer);
        }
        log.Clear();
        CHttpCurl session;
        EXPECT_EQ(InitSession(session), S_OK);
        EXPECT_EQ(Engine().sslFlags, std::vector<std::uint32_t>{flags});
        EXPECT_EQ(log.TraceLevel("hvx::CHttpCurl::Init varenssl_option: " + std::to_string(flags)),
                  kTraceTls);
    }
}

TEST_F(SessionInit, RefusedLaterOptionsAreLoggedAndInitStillSucceeds) {
    config.PutDword(keys::kVerifyHost, 1);
    config.PutDword(keys::kVerifyPeer, 1);
    engines.script.sslVerificationResult = 7;
    engines.script.callbackResults[curlopt::kSslCtxFunction] = 2;
    engines.script.optionResults[curlopt::kConnectTimeout] = 43;
    CHttpCurl session;
    EXPECT_EQ(InitSession(session), S_OK);
    EXPECT_EQ(log.Errors(),
              (std::vector<std::string>{"hvx::CHttpCurl::Init res: 7, option: 6",
                                        "CertMgrLoader::SetCurlSslContextres: 2, option: 20108",
                                        "hvx::CHttpCurl::InitFailed to set up curl ssl context",
                                        "hvx::CHttpCurl::Init res: 43, timeout: 30"}));
}

// The connect timeout defaults to 30 and keeps a stored zero; the engine's trace only for 1.
TEST_F(SessionInit, ConfigurationValuesBecomeEngineOptions) {
    const std::tuple<const char*, std::optional<std::uint32_t>, int, std::int64_t> cases[] = {
        {keys::kConnectTimeout, std::nullopt, curlopt::kConnectTimeout, 30},
        {keys::kConnectTimeout, 0, curlopt::kConnectTimeout, 0},
        {keys::kConnectTimeout, 45, curlopt::kConnectTimeout, 45},
        {keys::kConnectTimeout, 0xFFFFFFFFu, curlopt::kConnectTimeout, 30},
        {keys::kCurlDebug, 1, curlopt::kVerbose, 1},
        {keys::kCurlDebug, 0, curlopt::kVerbose, 0},
        {keys::kCurlDebug, 2, curlopt::kVerbose, 0},
    };
    for (const auto& [key, stored, option, expected] : cases) {
        SCOPED_TRACE(std::string(key) + " " + (stored ? std::to_string(*stored) : "unset"));
        config.Clear();
        if (stored) {
            config.PutDword(key, *stored);
        }
        CHttpCurl session;
        EXPECT_EQ(InitSession(session), S_OK);
        ASSERT_NE(Engine().Option(option), nullptr);
        EXPECT_EQ(*Engine().Option(option), expected);
        if (option == curlopt::kVerbose) {
            EXPECT_EQ(Engine().callbacks.contains(curlopt::kDebugFunction), expected == 1);
        }
    }
}

// Without a transfer timeout the option stays unset (SuccessWiresTheSessionIntoTheEngine); a
// refusal is logged with the engine's text and Init still succeeds.
TEST_F(SessionInit, TransferTimeoutWhenGiven) {
    CHttpCurl with;
    EXPECT_EQ(InitSession(with, kUrl, 30), S_OK);
    ASSERT_NE(Engine().Option(curlopt::kTimeout), nullptr);
    EXPECT_EQ(*Engine().Option(curlopt::kTimeout), 30);
    EXPECT_EQ(log.TraceLevel("hvx::CHttpCurl::Init timeout: 30"), kTraceGeneral);

    engines.script.optionResults[curlopt::kTimeout] = 48;
    engines.script.errorBuffer = "timeout refused";
    CHttpCurl refused;
    EXPECT_EQ(InitSession(refused, kUrl, 30), S_OK);
    EXPECT_EQ(log.Errors(), (std::vector<std::string>{
                                "hvx::CHttpCurl::Init: set connect timeout failed: timeout refused",
                                " http error message timeout refused"}));
}

struct ProgressCase {
    void (*script)(EngineScript&);
    const char* message;
    bool dataSet;
};

TEST_F(SessionInit, ProgressCallbackStopsAtTheFirstRefusal) {
    const ProgressCase cases[] = {
        {[](EngineScript& s) { s.callbackResults[curlopt::kProgressFunction] = 1; },
         "hvx::CHttpCurl::Init: set callback function failed", false},
        {[](EngineScript& s) { s.callbackResults[curlopt::kProgressData] = 1; },
         "hvx::CHttpCurl::Init: set callback data failed", true},
        {[](EngineScript& s) { s.optionResults[curlopt::kNoProgress] = 1; },
         "hvx::CHttpCurl::Init: unable to enable callback", true},
    };
    for (const auto& [script, message, dataSet] : cases) {
        engines.script = {};
        engines.script.errorBuffer = "no";
        script(engines.script);
        log.Clear();
        CHttpCurl session;
        EXPECT_EQ(InitSession(session, kUrl, 0, [] { return true; }), S_OK);
        EXPECT_EQ(log.Errors(), (std::vector<std::string>{message, " http error message no"}));
        EXPECT_EQ(Engine().callbackData.contains(curlopt::kProgressData), dataSet);
        EXPECT_TRUE(session.HasShutdownCallback());
    }
}

TEST_F(SessionInit, InterfaceFormsTestForNull) {
    CHttpCurl session;
    EXPECT_EQ(session.Init(nullptr, kUrl, {}, &config), S_FALSE);
    EXPECT_EQ(session.Init(u"GET", nullptr, {}, &config), S_FALSE);
    EXPECT_EQ(session.AddFormField(nullptr, u"v"), S_FALSE);
    EXPECT_EQ(session.AddRequestHeader(u"n", nullptr), S_FALSE);
    EXPECT_EQ(session.SetOption(curlopt::kVerbose, 1), S_FALSE);
    EXPECT_EQ(engines.created, 0);

    EXPECT_EQ(session.Init(u"GET", kUrl, {}, &config), S_OK);
    Engine().script.optionResults[12345] = 0x1234;
    EXPECT_EQ(session.SetOption(12345, 9), 0x1234);
    EXPECT_EQ(session.AddHeader(u"A", u"1"), S_OK);
    EXPECT_EQ(session.AddRequestHeader(u"B", u"2"), S_OK);
    EXPECT_EQ(session.Headers(), (std::vector<TextPair>{{u"A", u"1"}, {u"B", u"2"}}));
}

}  // namespace
}  // namespace hvx::test
