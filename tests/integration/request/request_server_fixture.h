// Requests through the real transfer engine (libmirel.so) to the test server on 127.0.0.1, with
// the configuration in memory and the test CA as the only trusted certificate.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "session/http_curl.h"
#include "support/config_keys.h"
#include "tests/support/fake_config.h"
#include "tests/support/log_capture.h"
#include "tests/support/net/test_certs.h"
#include "tests/support/net/test_server.h"
#include "tests/support/scoped_root_store.h"

namespace hvx::test {

inline std::u16string Wide(std::string_view ascii) {
    return {ascii.begin(), ascii.end()};
}

class RequestServerTest : public ::testing::Test {
protected:
    RequestServerTest() {
        config.PutNarrow(keys::kEstCaCert, TestCertificates::Shared().Ca().certificatePem);
    }

    // Binds the session to the server's `target`; the log starts empty afterwards.
    void Init(CHttpCurl& session, std::u16string method = u"GET", std::string_view target = "/r",
              std::uint32_t timeout = 0, ShutdownCallback shutdown = {}) {
        ASSERT_EQ(session.Init(std::move(method), Wide(server.Url(target)), std::move(shutdown),
                               &config, timeout),
                  S_OK);
        log.Clear();
    }

    // "http://127.0.0.1:<port>" and `target`, as the log lines write the URL.
    std::string LoggedUrl(std::string_view target = "/r") const { return server.Url(target); }

    TestServer server;
    FakeConfig config;
    ScopedRootStore roots{{TestCertificates::Shared().Ca().certificatePem}};
    LogCapture log;
};

}  // namespace hvx::test
