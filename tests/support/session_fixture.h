// What the session and request tests need: the scripted engine registered as "mirel.dll", an
// in-memory store with the test CA and a ROOT store of it (so the trusted certificates load
// quietly), and a log capture. Programs that use it link caspo_session,
// caspo_test_session_support and caspo_test_net.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "session/http_curl.h"
#include "support/config_keys.h"
#include "tests/support/fake_config.h"
#include "tests/support/fake_engine.h"
#include "tests/support/log_capture.h"
#include "tests/support/net/test_certs.h"
#include "tests/support/scoped_root_store.h"

namespace hvx::test {

inline constexpr const char16_t* kUrl = u"https://backend.example/api/v1?x=1";

class SessionTest : public ::testing::Test {
protected:
    // The first session of the program loads the trusted certificates; with a CA certificate
    // configured that load writes no error.
    SessionTest() {
        config.PutNarrow(keys::kEstCaCert, TestCertificates::Shared().Ca().certificatePem);
        engines.script.body = "ok";
    }

    // A POST session for `url`; Init's result.
    HRESULT InitSession(CHttpCurl& session, std::u16string url = kUrl, std::uint32_t timeout = 0,
                        ShutdownCallback shutdown = {}) {
        return session.Init(u"POST", std::move(url), std::move(shutdown), &config, timeout);
    }
    // Binds the session to `method` and kUrl; the log starts empty afterwards.
    void Init(CHttpCurl& session, std::u16string method = u"POST") {
        ASSERT_EQ(session.Init(std::move(method), kUrl, {}, &config, 0), S_OK);
        log.Clear();
    }
    // The engine of the last session initialised.
    FakeEngine& Engine() const { return *engines.last; }
    // The body of the engine's last transfer.
    std::string SentBody() const { return Engine().transfers.back().body; }

    FakeEngineModule engines;
    FakeConfig config;
    ScopedRootStore roots{{TestCertificates::Shared().Ca().certificatePem}};
    LogCapture log;
};

inline std::u16string Wide(std::string_view ascii) {
    return {ascii.begin(), ascii.end()};
}

}  // namespace hvx::test
