// Helpers of the session integration tests: a session set up the way a client sets one up, and
// one transfer through its engine instance.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "session/http_curl.h"
#include "tests/support/temp_dir.h"
#include "tests/support/trusted_store_test.h"

namespace hvx::test {

struct Outcome {
    int transfer = -1;
    std::uint32_t status = 0;
};

// Init, SetProxySettings and a GET of the URL through the session's engine instance.
inline Outcome FetchThroughSession(IConfig& config, const std::string& url) {
    CHttpCurl session;
    Outcome outcome;
    if (session.Init(
            u"GET", Wide(url), [] { return false; }, &config, 0) != S_OK ||
        session.SetProxySettings() != S_OK) {
        ADD_FAILURE() << "the session was not set up for " << url;
        return outcome;
    }
    outcome.transfer = session.Engine()->Get(Wide(url).c_str());
    static_cast<void>(session.Engine()->GetResponseCode(&outcome.status));
    return outcome;
}

}  // namespace hvx::test
