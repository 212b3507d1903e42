// The session unit tests' base: the trusted store of TrustedStoreTest and the scripted engine
// registered as "mirel.dll". Programs that use it link caspo_session,
// caspo_test_session_support and caspo_test_net.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "session/http_curl.h"
#include "tests/support/fake_engine.h"
#include "tests/support/trusted_store_test.h"

namespace hvx::test {

inline constexpr const char16_t* kUrl = u"https://backend.example/api/v1?x=1";

class SessionTest : public TrustedStoreTest {
protected:
    // The first session of the program loads the trusted certificates; with a CA certificate
    // configured that load writes no error.
    SessionTest() { engines.script.body = "ok"; }

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
};

}  // namespace hvx::test
