// Requests through the real transfer engine (libmirel.so) to the test server on 127.0.0.1, with
// the configuration in memory and the test CA as the only trusted certificate.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "session/http_curl.h"
#include "tests/support/net/test_server.h"
#include "tests/support/trusted_store_test.h"

namespace hvx::test {

class RequestServerTest : public TrustedStoreTest {
protected:
    // Binds the session to the server's `target`; the log starts empty afterwards.
    void Init(CHttpCurl& session, std::u16string method = u"GET", std::string_view target = "/r") {
        ASSERT_EQ(session.Init(std::move(method), Wide(server.Url(target)), {}, &config, 0), S_OK);
        log.Clear();
    }

    // "http://127.0.0.1:<port>" and `target`, as the log lines write the URL.
    std::string LoggedUrl(std::string_view target = "/r") const { return server.Url(target); }

    TestServer server;
};

}  // namespace hvx::test
