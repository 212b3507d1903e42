// Sessions in a process where neither mirel nor sabko can be loaded. The entry points are
// resolved once per process, so this runs in a program of its own.
#include <gtest/gtest.h>

#include "platform/module.h"
#include "session/http_curl.h"
#include "tests/support/fake_config.h"
#include "tests/support/log_capture.h"

namespace hvx::test {
namespace {

TEST(SessionWithoutSiblings, InitFailsWithoutTheEngineLibrary) {
    os::RegisterMissingModule(u"mirel.dll");
    os::RegisterMissingModule(u"sabko.dll");
    LogCapture log;
    FakeConfig config;
    CHttpCurl session;
    EXPECT_EQ(session.Init(
                  u"GET", u"https://backend.example/", [] { return false; }, &config, 0),
              HVX_E_ENGINE_MISSING);
    EXPECT_EQ(session.Init(
                  u"GET", u"not a url", [] { return false; }, &config, 0),
              HVX_E_ENGINE_MISSING);
    EXPECT_EQ(log.Errors(),
              (std::vector<std::string>{"HttpC: unable to get function load addresses",
                                        "HttpC: unable to get function load addresses"}));
    EXPECT_FALSE(session.HasShutdownCallback());
    EXPECT_EQ(session.Engine(), nullptr);

    log.Clear();
    EXPECT_EQ(session.SetProxySettings(), E_FAIL);
    EXPECT_EQ(log.Errors(),
              std::vector<std::string>{
                  "hvx::CHttpCurl::SetProxySettings m_pICurl: 0x0, pProxy: 0x0 is NULL"});
}

}  // namespace
}  // namespace hvx::test
