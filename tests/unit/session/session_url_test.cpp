// How Init splits a URL and chooses the port.
#include "tests/support/session_fixture.h"

namespace hvx::test {
namespace {

struct UrlCase {
    const char16_t* url;
    const char16_t* scheme;
    const char16_t* host;
    const char16_t* path;
    std::uint16_t port;
};

using SessionUrl = SessionTest;

TEST_F(SessionUrl, SchemeHostPathAndPort) {
    const UrlCase cases[] = {
        // A port in the URL stays in the host and is not looked at.
        {u"https://127.0.0.1:8443/api", u"https", u"127.0.0.1:8443", u"/api", 443},
        {u"http://backend.example/a/b?x=1&y=%2F", u"http", u"backend.example", u"/a/b?x=1&y=%2F",
         80},
        {u"http://backend.example:8080/", u"http", u"backend.example:8080", u"/", 80},
        // The check ignores letter case, the port rule does not: a fresh session keeps 443.
        {u"HTTP://backend.example/x", u"HTTP", u"backend.example", u"/x", 443},
        {u"Https://backend.example/x", u"Https", u"backend.example", u"/x", 443},
    };
    for (const UrlCase& c : cases) {
        CHttpCurl session;
        ASSERT_EQ(InitSession(session, c.url), S_OK);
        EXPECT_EQ(session.Scheme(), c.scheme);
        EXPECT_EQ(session.Host(), c.host);
        EXPECT_EQ(session.Path(), c.path);
        EXPECT_EQ(session.Port(), c.port);
    }
}

}  // namespace
}  // namespace hvx::test
