// Proxy settings: sabko's reader, venit's application to an engine, and the session's
// SetProxySettings between them.
#include <curl/curl.h>

#include <memory>

#include "platform/module.h"
#include "siblings/sabko/proxy_keys.h"
#include "siblings/sabko/sabko.h"
#include "siblings/venit/session_proxy.h"
#include "support/trace_levels.h"
#include "tests/support/session_fixture.h"

namespace hvx::test {
namespace {

struct ReaderRelease {
    void operator()(IProxyReader* reader) const { ReleaseProxyClassInstance(reader); }
};
using ReaderPtr = std::unique_ptr<IProxyReader, ReaderRelease>;

void ConfigureProxy(FakeConfig& config) {
    config.PutWide(proxy_keys::kHost, u"proxy.example");
    config.PutDword(proxy_keys::kPort, 3128);
    config.PutNarrow(proxy_keys::kType, "SOCKS5h");
    config.PutWide(proxy_keys::kUser, u"alice");
    config.PutWide(proxy_keys::kPassword, u"s3cret");
    config.PutWide(proxy_keys::kDomain, u"CORP");
    config.PutWide(proxy_keys::kBypass, u"localhost,.internal");
    config.PutNarrow(proxy_keys::kAuth, "ntlm");
    config.PutDword(proxy_keys::kTunnel, 1);
}

TEST(ProxyReader, FillsTheRecordFromItsKeys) {
    const ReaderPtr reader(CreateProxyClassInstance());
    FakeConfig config;
    ProxySettings settings;
    EXPECT_EQ(reader->IsConfigured(&config), HVX_E_NOT_FOUND);
    EXPECT_EQ(reader->ReadSettings(&config, &settings), HVX_E_NOT_FOUND);
    config.PutWide(proxy_keys::kHost, u"");
    EXPECT_EQ(reader->ReadSettings(&config, &settings), HVX_E_NOT_FOUND);

    config.PutWide(proxy_keys::kHost, u"10.0.0.1");
    EXPECT_EQ(reader->IsConfigured(&config), S_OK);
    ASSERT_EQ(reader->ReadSettings(&config, &settings), S_OK);
    EXPECT_EQ(settings.host, u"10.0.0.1");
    EXPECT_EQ(settings.type, CURLPROXY_HTTP);
    EXPECT_EQ(settings.port, 0u);
    EXPECT_EQ(settings.authMethods, 0u);
    EXPECT_EQ(settings.tunnel, -1);
    EXPECT_EQ(settings.user, u"");

    ConfigureProxy(config);
    ASSERT_EQ(reader->ReadSettings(&config, &settings), S_OK);
    EXPECT_EQ(settings.type, CURLPROXY_SOCKS5_HOSTNAME);
    EXPECT_EQ(settings.port, 3128u);
    EXPECT_EQ(settings.authMethods, static_cast<std::uint32_t>(CURLAUTH_NTLM));
    EXPECT_EQ(settings.tunnel, 1);
    EXPECT_EQ(settings.user, u"alice");
    EXPECT_EQ(settings.password, u"s3cret");
    EXPECT_EQ(settings.domain, u"CORP");
    EXPECT_EQ(settings.bypass, u"localhost,.internal");
    EXPECT_EQ(config.outstanding, 0);
}

TEST(ProxyReader, RefusesValuesOutOfRange) {
    const ReaderPtr reader(CreateProxyClassInstance());
    LogCapture log;
    const std::pair<void (*)(FakeConfig&), const char*> cases[] = {
        {[](FakeConfig& c) { c.PutNarrow(proxy_keys::kType, "gopher"); },
         "sabko: unknown proxy type \"gopher\" under config/conn/proxy/type"},
        {[](FakeConfig& c) { c.PutNarrow(proxy_keys::kAuth, "kerberos5"); },
         "sabko: unknown proxy authentication \"kerberos5\" under config/conn/proxy/auth"},
        {[](FakeConfig& c) { c.PutDword(proxy_keys::kPort, 70000); },
         "sabko: proxy port 70000 under config/conn/proxy/port is out of range"},
        {[](FakeConfig& c) { c.PutDword(proxy_keys::kTunnel, 2); },
         "sabko: proxy tunnel 2 under config/conn/proxy/tunnel is neither 0 nor 1"},
    };
    for (const auto& [set, message] : cases) {
        FakeConfig config;
        config.PutWide(proxy_keys::kHost, u"proxy.example");
        set(config);
        ProxySettings settings;
        log.Clear();
        EXPECT_EQ(reader->ReadSettings(&config, &settings), E_INVALIDARG);
        EXPECT_EQ(settings.host, u"");
        EXPECT_EQ(log.Errors(), std::vector<std::string>{message});
    }
    EXPECT_EQ(reader->ReadSettings(nullptr, nullptr), E_INVALIDARG);
}

// Keeps a copy of every text option, which the scripted engine records only as a pointer.
class TextRecordingEngine : public FakeEngine {
public:
    TextRecordingEngine() : FakeEngine(EngineScript{}) {}
    int SetOption(int option, std::int64_t value) override {
        if (option >= CURLOPTTYPE_OBJECTPOINT && option < CURLOPTTYPE_FUNCTIONPOINT) {
            // The engine interface carries text options as pointers in 64-bit numbers.
            texts[option] = reinterpret_cast<const char*>(  // NOLINT(performance-no-int-to-ptr)
                static_cast<std::intptr_t>(value));
        }
        return FakeEngine::SetOption(option, value);
    }
    std::map<int, std::string> texts;
};

TEST(SessionProxyOptions, EveryFieldBecomesItsOption) {
    TextRecordingEngine engine;
    ProxySettings settings;
    settings.host = u"proxy.example";
    settings.type = CURLPROXY_HTTPS;
    settings.user = u"alice";
    settings.password = u"s3cret";
    settings.domain = u"CORP";
    settings.bypass = u"localhost";
    ASSERT_EQ(Util::SetCurlSessionProxySettings(&engine, settings), S_OK);
    EXPECT_EQ(engine.texts, (std::map<int, std::string>{{CURLOPT_PROXY, "proxy.example"},
                                                        {CURLOPT_PROXYUSERNAME, "CORP\\alice"},
                                                        {CURLOPT_PROXYPASSWORD, "s3cret"},
                                                        {CURLOPT_NOPROXY, "localhost"}}));
    EXPECT_EQ(*engine.Option(CURLOPT_PROXYTYPE), CURLPROXY_HTTPS);
    // Unset numbers leave libcurl's own choice.
    EXPECT_EQ(engine.Option(CURLOPT_PROXYPORT), nullptr);
    EXPECT_EQ(engine.Option(CURLOPT_PROXYAUTH), nullptr);
    EXPECT_EQ(engine.Option(CURLOPT_HTTPPROXYTUNNEL), nullptr);
}

TEST(SessionProxyOptions, ARecordWithoutHostOrEngineIsRefused) {
    TextRecordingEngine engine;
    const ProxySettings settings;
    EXPECT_EQ(Util::SetCurlSessionProxySettings(&engine, settings), E_INVALIDARG);
    EXPECT_EQ(Util::SetCurlSessionProxySettings(nullptr, settings), E_INVALIDARG);
}

using SessionProxy = SessionTest;

// A reader's refusal is logged whole by RequestWire.ProxySettingsThatCannotBeReadStopTheRequest.
// The first option the engine refuses ends the settings.
TEST_F(SessionProxy, AnEngineThatRefusesTheProxyFailsIt) {
    config.PutWide(proxy_keys::kHost, u"proxy.example");
    config.PutDword(proxy_keys::kPort, 3128);
    CHttpCurl session;
    ASSERT_EQ(InitSession(session), S_OK);
    Engine().script.optionResults[CURLOPT_PROXYPORT] = CURLE_UNKNOWN_OPTION;
    EXPECT_EQ(session.SetProxySettings(), E_FAIL);
    EXPECT_EQ(log.Errors(),
              std::vector<std::string>{
                  "Util::SetCurlSessionProxySettings: option 59 refused, result: 48"});
    EXPECT_EQ(Engine().Option(CURLOPT_PROXYTYPE), nullptr);
    EXPECT_EQ(log.TraceLevel("hvx::CHttpCurl::SetProxySettings unable to set proxy settings for "
                             "current session"),
              kTraceGeneral);
}

TEST_F(SessionProxy, WithoutAStoreInitMustComeFirst) {
    // tolva cannot be loaded, so Init stops after creating the engine instance.
    os::RegisterMissingModule(u"tolva.dll");
    CHttpCurl session;
    EXPECT_EQ(session.Init(
                  u"GET", kUrl, [] { return false; }, nullptr, 0),
              HVX_E_CONFIG_UNAVAILABLE);
    os::UnregisterBuiltinModule(u"tolva.dll");
    EXPECT_TRUE(log.HasError("hvx::CHttpCurl::Init: loader failed to get/load config"));
    EXPECT_FALSE(session.HasShutdownCallback());
    log.Clear();
    EXPECT_EQ(session.SetProxySettings(), E_FAIL);
    EXPECT_EQ(log.Errors(), std::vector<std::string>{
                                "hvx::CHttpCurl::SetProxySettings: Init() needs to be called prior "
                                "in order to initialize IConfig member"});
}

}  // namespace
}  // namespace hvx::test
