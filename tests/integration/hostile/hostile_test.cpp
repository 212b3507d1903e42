// Hostile servers against a session on the real engine: one table, one server that plays each
// part. Every case asserts the request's result, that it ended within its bound (the bounds are
// made small through the configuration, so the suite runs in seconds), that no file is left
// behind and, where a body could grow without end, how far the process's memory grew.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "session/http_curl.h"
#include "siblings/sabko/proxy_keys.h"
#include "support/config_keys.h"
#include "tests/integration/hostile/hostile_peer.h"
#include "tests/support/net/test_server.h"
#include "tests/support/peak_memory.h"
#include "tests/support/temp_dir.h"
#include "tests/support/trusted_store_test.h"

namespace hvx::test {
namespace {

// The bounds of the suite's configuration.
constexpr std::uint32_t kCeilingSeconds = 6;
constexpr std::uint32_t kStallSeconds = 2;
constexpr std::uint32_t kStallRate = 512;
constexpr std::uint32_t kMaxBody = 4U << 20U;
// The bound of a case that ends at once, by the stall rule, by the ceiling.
constexpr double kQuick = 3;
constexpr double kStalled = kStallSeconds + 3;
constexpr double kCeiling = kCeilingSeconds + 3;
constexpr std::size_t kMiB = std::size_t{1} << 20U;

enum class Form { kString, kBuffer, kFile, kUpload };
enum class Cert { kPlain, kExpired, kNotYetValid, kOtherHost, kSelfSigned, kUnknownCa };
enum class Proxy { kNone, kTunnel };

struct HostileCase {
    const char* name = "";
    HostilePart part{};
    HRESULT result = S_OK;
    double bound = kQuick;
    Form form = Form::kString;
    Cert cert = Cert::kPlain;
    bool verify = true;
    Proxy proxy = Proxy::kNone;
    // Text expected in the error records (the engine's reason), if the case decides one.
    const char* why = "";
    // How far the process's memory may grow; 0: not measured.
    std::size_t memory = 0;
};

std::string Head(int status, const std::string& headers = "") {
    return "HTTP/1.1 " + std::to_string(status) + " Answer\r\n" + headers + "\r\n";
}

std::string Sized(std::size_t length) {
    return "Content-Length: " + std::to_string(length) + "\r\n";
}

// A JSON error body of exactly `size` bytes carrying the code 0xC1010002.
std::string ErrorBody(std::size_t size) {
    std::string body = R"({"result": 3238068226, "detail": "d"})";
    body.resize(size, ' ');
    return body;
}

HostilePart Answer(const std::string& bytes) {
    return [bytes](HostilePeer& peer) {
        if (peer.ReadHead()) {
            peer.Send(bytes);
        }
    };
}

// The head, then `then` with the peer.
HostilePart After(const std::string& head, const HostilePart& then) {
    return [head, then](HostilePeer& peer) {
        if (peer.ReadHead() && peer.Send(head)) {
            then(peer);
        }
    };
}

HostilePart Silence() {
    return [](HostilePeer& peer) {
        if (peer.ReadHead()) {
            peer.Hold();
        }
    };
}

HostilePart DripAt(int perSecond) {
    return After(Head(200, Sized(100)),
                 [perSecond](HostilePeer& p) { p.Drip(std::string(100, 'a'), perSecond); });
}

// Without end as far as the case can tell: at a rate, it outlasts the ceiling five times, so that
// a broken ceiling fails the case instead of holding the suite; at full speed (0) it never ends.
HostilePart StreamAt(int blocksPerSecond) {
    const std::uint64_t blocks = std::uint64_t{kCeilingSeconds} * 5 * blocksPerSecond;
    return After(Head(200), [=](HostilePeer& p) { p.Stream(blocks, blocksPerSecond); });
}

HostilePart ErrorAnswer(std::size_t size) {
    return Answer(Head(500, Sized(size)) + ErrorBody(size));
}

// Sends `head`, then sends (or, for an upload, reads) `bodyBytes` of the body, then resets.
HostilePart ResetAfter(const std::string& head, std::size_t bodyBytes, bool upload) {
    return [=](HostilePeer& p) {
        if (!p.ReadHead() || !p.Send(head)) {
            return;
        }
        if (upload ? p.ReadBody(bodyBytes) : p.Send(std::string(bodyBytes, 'a'))) {
            p.Reset();
        }
    };
}

HostileCase Tls(const char* name, Cert cert, bool verify, const char* why) {
    HostileCase tls{.name = name,
                    .result = verify ? HVX_E_TRANSFER_FAILED : S_OK,
                    .bound = kQuick,
                    .cert = cert,
                    .verify = verify,
                    .why = verify ? why : ""};
    tls.part = Answer(Head(200, Sized(2)) + "ok");
    return tls;
}

const PemIdentity& Identity(Cert cert) {
    const TestCertificates& c = TestCertificates::Shared();
    const PemIdentity* const identities[] = {&c.Server(),    &c.Expired(),    &c.NotYetValid(),
                                             &c.OtherHost(), &c.SelfSigned(), &c.UntrustedServer()};
    return *identities[static_cast<int>(cert)];
}

constexpr const char* kTooSlow =
    "Operation too slow. Less than 512 bytes/sec transferred the last 2 seconds";
constexpr const char* kTimedOut = "Operation timed out after 6";
constexpr const char* kReset = "Connection reset by peer";
constexpr HRESULT kFailed = HVX_E_TRANSFER_FAILED;
constexpr HRESULT kErrorStatus = HVX_E_HTTP_ERROR_STATUS;

std::vector<HostileCase> Cases() {
    std::string lines;
    for (int i = 0; i < 10000; ++i) {
        lines += "X-Line-" + std::to_string(i) + ": a value that takes some room\r\n";
    }
    const std::string longLine = "X-Long: " + std::string(std::size_t{100} << 10U, 'a') + "\r\n";
    const std::string chunked = "Transfer-Encoding: chunked\r\n";
    const std::string proxyAuth = "Proxy-Authenticate: Basic realm=\"corp\"\r\n";
    const std::size_t tenMB = std::size_t{160} << 16U;
    // clang-format off
    return {
        {.name = "SilentServer", .part = Silence(), .result = kFailed, .bound = kStalled, .why = kTooSlow},
        {.name = "HeadersThenSilence", .part = After(Head(200, Sized(1000)), [](HostilePeer& p) { p.Hold(); }),
         .result = kFailed, .bound = kStalled, .why = kTooSlow},
        {.name = "DripOfOneByteASecond", .part = DripAt(1), .result = kFailed, .bound = kStalled, .why = kTooSlow},
        {.name = "DripOfTwoBytesASecond", .part = DripAt(2), .result = kFailed, .bound = kStalled, .why = kTooSlow},
        {.name = "SlowButSteadyPasses", .part = After(Head(200, Sized(3U << 16U)), [](HostilePeer& p) { p.Stream(3, 2); }),
         .result = S_OK, .bound = kQuick},
        {.name = "EndlessBodyToMemory", .part = StreamAt(0), .result = kFailed, .bound = kQuick,
         .why = "Response body is longer than the 4194304 bytes", .memory = std::size_t{3} * kMaxBody},
        {.name = "EndlessBodyToTheBuffer", .part = StreamAt(4), .result = kFailed, .bound = kCeiling,
         .form = Form::kBuffer, .why = kTimedOut, .memory = 4 * kMiB},
        {.name = "EndlessBodyToAFile", .part = StreamAt(4), .result = kFailed, .bound = kCeiling,
         .form = Form::kFile, .why = kTimedOut, .memory = 4 * kMiB},
        {.name = "HeaderLineOf100KB", .part = Answer(Head(200, longLine)), .result = kFailed, .bound = kQuick,
         .why = "Out of memory"},
        {.name = "TenThousandHeaderLines", .part = Answer(Head(200, lines + Sized(2)) + "ok"), .result = kFailed,
         .bound = kQuick, .why = "Too large response headers"},
        {.name = "ContentLengthLongerThanTheBody", .part = Answer(Head(200, Sized(1000)) + "short"),
         .result = kFailed, .bound = kQuick, .why = "transfer closed with 995 bytes remaining"},
        {.name = "ChunkedCutShort", .part = Answer(Head(200, chunked) + "10\r\n0123456789abcdef\r\n8\r\nabc"),
         .result = kFailed, .bound = kQuick, .why = "transfer closed with outstanding read data"},
        {.name = "GarbageStatusLine", .part = Answer("SPEAK FRIEND AND ENTER\r\n\r\n"), .result = kFailed,
         .bound = kQuick, .why = "Received HTTP/0.9 when not allowed"},
        {.name = "ResetMidBody", .part = ResetAfter(Head(200, Sized(kMiB)), 1000, false), .result = kFailed,
         .bound = kQuick, .why = kReset},
        {.name = "ResetMidUpload", .part = ResetAfter("", 1000, true), .result = kFailed, .bound = kQuick,
         .form = Form::kUpload, .why = kReset},
        {.name = "ErrorBodyOf8191Bytes", .part = ErrorAnswer(8191), .result = static_cast<HRESULT>(0xC1010002),
         .bound = kQuick},
        {.name = "ErrorBodyOf8192Bytes", .part = ErrorAnswer(8192), .result = kErrorStatus, .bound = kQuick},
        {.name = "ErrorBodyOf8193Bytes", .part = ErrorAnswer(8193), .result = kErrorStatus, .bound = kQuick},
        {.name = "ErrorBodyOf10MB", .part = After(Head(500, Sized(tenMB)), [](HostilePeer& p) { p.Stream(160, 0); }),
         .result = kErrorStatus, .bound = kQuick, .memory = 2 * kMiB},
        {.name = "Redirect", .part = Answer(Head(302, "Location: /elsewhere\r\n" + Sized(0))), .result = E_FAIL,
         .bound = kQuick, .why = "unhandled http response: 302"},
        Tls("ExpiredVerified", Cert::kExpired, true, "certificate has expired"),
        Tls("ExpiredUnverified", Cert::kExpired, false, ""),
        Tls("NotYetValidVerified", Cert::kNotYetValid, true, "certificate is not yet valid"),
        Tls("NotYetValidUnverified", Cert::kNotYetValid, false, ""),
        Tls("WrongHostVerified", Cert::kOtherHost, true, "no alternative certificate subject name matches"),
        Tls("WrongHostUnverified", Cert::kOtherHost, false, ""),
        Tls("SelfSignedVerified", Cert::kSelfSigned, true, "self-signed certificate"),
        Tls("SelfSignedUnverified", Cert::kSelfSigned, false, ""),
        Tls("UnknownCaVerified", Cert::kUnknownCa, true, "unable to get local issuer"),
        Tls("UnknownCaUnverified", Cert::kUnknownCa, false, ""),
        {.name = "ProxyAnswering407", .part = Answer(Head(407, proxyAuth + Sized(0))), .result = kFailed,
         .bound = kQuick, .proxy = Proxy::kTunnel, .why = "CONNECT tunnel failed, response 407"},
        {.name = "SilentProxy", .part = Silence(), .result = kFailed, .bound = kStalled, .proxy = Proxy::kTunnel,
         .why = kTooSlow},
    };
    // clang-format on
}

void PrintTo(const HostileCase& c, std::ostream* out) {
    *out << c.name;
}

class Hostile : public TrustedStoreTest, public ::testing::WithParamInterface<HostileCase> {
protected:
    Hostile() {
        config.PutDword(keys::kMaxTransferTime, kCeilingSeconds);
        config.PutDword(keys::kStallTime, kStallSeconds);
        config.PutDword(keys::kStallRate, kStallRate);
        config.PutDword(keys::kMaxBodySize, kMaxBody);
    }

    // Sets the session up for `url` and runs the case's form; `seconds` is the time the request
    // took, its set-up not counted.
    HRESULT Run(const HostileCase& c, const std::string& url, double& seconds) {
        CHttpCurl session;
        const bool upload = c.form == Form::kUpload;
        HRESULT hr = session.Init(upload ? u"POST" : u"GET", Wide(url), {}, &config, 0);
        if (SUCCEEDED(hr) && upload) {
            hr = session.AddFormField(u"data", std::u16string(4 * kMiB, u'u'));
        }
        if (FAILED(hr)) {
            return hr;
        }
        const auto start = std::chrono::steady_clock::now();
        hr = Request(session, c.form);
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        return hr;
    }

    HRESULT Request(CHttpCurl& session, Form form) {
        std::uint32_t status = 0;
        std::string text;
        if (form == Form::kBuffer) {
            std::uint32_t size = kMiB;
            const auto buffer = std::make_unique_for_overwrite<char[]>(size);
            return session.MakeRequest(&status, &size, buffer.get());
        }
        if (form == Form::kFile) {
            return session.MakeFileRequest(status, Wide((folder / "target").string()));
        }
        return session.MakeRequestToString(status, text);
    }

    // One plain request first, so that what the process loads once (the engine, the trusted
    // certificates, the proxy reader) is not counted as the case's memory.
    void WarmUp() {
        TestServer plain;
        plain.SetDefaultResponse({.body = "ok"});
        CHttpCurl session;
        std::uint32_t status = 0;
        std::string body;
        ASSERT_EQ(session.Init(u"GET", Wide(plain.Url("/warm")), {}, &config, 0), S_OK);
        ASSERT_EQ(session.MakeRequestToString(status, body), S_OK);
    }

    NoEnvironmentProxies noProxies;
    TempDir folder;
};

TEST_P(Hostile, EndsWithinItsBound) {
    const HostileCase& c = GetParam();
    config.PutDword(keys::kVerifyHost, c.verify ? 1 : 0);
    config.PutDword(keys::kVerifyPeer, c.verify ? 1 : 0);
    TestServer server(
        [&c](SocketStream& stream) {
            HostilePeer peer(stream);
            c.part(peer);
        },
        c.cert == Cert::kPlain ? nullptr : &Identity(c.cert));
    std::string url = server.Url("/hostile");
    if (c.proxy == Proxy::kTunnel) {
        config.PutWide(proxy_keys::kHost, u"127.0.0.1");
        config.PutDword(proxy_keys::kPort, server.Port());
        config.PutDword(proxy_keys::kTunnel, 1);
        url = "http://127.0.0.1:9/behind-the-proxy";
    }

    if (c.memory > 0) {
        WarmUp();
    }
    const PeakGrowth memory;
    double seconds = 0;
    EXPECT_EQ(Run(c, url, seconds), c.result);
    EXPECT_LT(seconds, c.bound);
    if (c.memory > 0) {
        ASSERT_TRUE(memory.Measurable());
        EXPECT_LT(memory.Bytes(), c.memory);
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
    std::string errors;
    for (const std::string& line : log.Errors()) {
        errors += line + "\n";
    }
    EXPECT_NE(errors.find(c.why), std::string::npos) << errors;
}

INSTANTIATE_TEST_SUITE_P(Servers, Hostile, ::testing::ValuesIn(Cases()),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace hvx::test
