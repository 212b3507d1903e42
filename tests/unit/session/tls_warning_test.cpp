// The warning about an HTTPS session with a TLS check off. It is written once per process for
// each check, so it has a program of its own: these sessions are the process's first.
#include <optional>

#include "support/config_keys.h"
#include "tests/support/session_fixture.h"

namespace hvx::test {
namespace {

using TlsWarning = SessionTest;

constexpr const char* kHostOff =
    "hvx::CHttpCurl::Init warning: TLS host verification is off for HTTPS: "
    "config/conn/varenssl/verifyhost is ";
constexpr const char* kPeerOff =
    "hvx::CHttpCurl::Init warning: TLS peer verification is off for HTTPS: "
    "config/conn/varenssl/verifypeer is ";

struct Step {
    const char16_t* url;
    std::optional<std::uint32_t> host;
    std::optional<std::uint32_t> peer;
    std::vector<std::string> errors;
};

TEST_F(TlsWarning, OncePerProcessForEachCheckThatIsOffOnHttps) {
    const Step steps[] = {
        // Plain HTTP has nothing to verify.
        {u"http://backend.example/", std::nullopt, std::nullopt, {}},
        {u"https://backend.example/", 1, 1, {}},
        // The value libcurl's users write for host verification, and the scheme in capitals.
        {u"HTTPS://backend.example/",
         2,
         0,
         {std::string(kHostOff) + "2 (only 1 turns it on)", std::string(kPeerOff) + "0"}},
        {u"https://backend.example/", std::nullopt, std::nullopt, {}},
    };
    for (const Step& step : steps) {
        for (const auto& [key, value] :
             {std::pair{keys::kVerifyHost, step.host}, std::pair{keys::kVerifyPeer, step.peer}}) {
            config.Erase(key);
            if (value) {
                config.PutDword(key, *value);
            }
        }
        log.Clear();
        CHttpCurl session;
        ASSERT_EQ(InitSession(session, step.url), S_OK);
        EXPECT_EQ(log.Errors(), step.errors);
    }
}

}  // namespace
}  // namespace hvx::test
