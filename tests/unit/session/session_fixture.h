// What every session test needs: the scripted engine registered as "mirel.dll", an in-memory
// store, a ROOT store of the test CA (so the trusted certificates load), and a log capture.
#pragma once

#include <gtest/gtest.h>

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

inline constexpr const char16_t* kUrl = u"https://backend.example/api/v1";

class SessionTest : public ::testing::Test {
protected:
    // The first session of the program loads the trusted certificates; with a CA certificate
    // configured that load writes no error.
    SessionTest() {
        config.PutNarrow(keys::kEstCaCert, TestCertificates::Shared().Ca().certificatePem);
    }

    HRESULT InitSession(CHttpCurl& session, std::u16string url = kUrl, std::uint32_t timeout = 0,
                        ShutdownCallback shutdown = {}) {
        return session.Init(u"POST", std::move(url), std::move(shutdown), &config, timeout);
    }
    // The engine of the last session initialised.
    FakeEngine& Engine() const { return *engines.last; }

    FakeEngineModule engines;
    FakeConfig config;
    ScopedRootStore roots{{TestCertificates::Shared().Ca().certificatePem}};
    LogCapture log;
};

inline std::u16string Wide(std::string_view ascii) {
    return {ascii.begin(), ascii.end()};
}

}  // namespace hvx::test
