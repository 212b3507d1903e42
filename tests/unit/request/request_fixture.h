// What the request tests need: the scripted engine registered as "mirel.dll", an in-memory store
// with the test CA (so the trusted certificates load quietly), and a log capture that starts
// empty after Init.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "session/http_curl.h"
#include "support/config_keys.h"
#include "tests/support/fake_config.h"
#include "tests/support/fake_engine.h"
#include "tests/support/log_capture.h"
#include "tests/support/net/test_certs.h"
#include "tests/support/scoped_root_store.h"

namespace hvx::test {

inline constexpr const char16_t* kUrl = u"https://backend.example/api/v1?x=1";

class RequestTest : public ::testing::Test {
protected:
    RequestTest() {
        config.PutNarrow(keys::kEstCaCert, TestCertificates::Shared().Ca().certificatePem);
        engines.script.body = "ok";
    }

    // Binds the session to `method` and kUrl; the log starts empty afterwards.
    void Init(CHttpCurl& session, std::u16string method = u"POST") {
        ASSERT_EQ(session.Init(std::move(method), kUrl, {}, &config, 0), S_OK);
        log.Clear();
    }
    FakeEngine& Engine() const { return *engines.last; }
    // The body of the engine's last transfer.
    std::string SentBody() { return Engine().transfers.back().body; }

    FakeEngineModule engines;
    FakeConfig config;
    ScopedRootStore roots{{TestCertificates::Shared().Ca().certificatePem}};
    LogCapture log;
};

inline std::u16string Wide(std::string_view ascii) {
    return {ascii.begin(), ascii.end()};
}

}  // namespace hvx::test
