// What the server receives: for a form POST the body and the user agent (the order of header
// lines is the engine's, MirelWire); nothing when the proxy settings cannot be read.
#include "tests/integration/session/request_server_fixture.h"

namespace hvx::test {
namespace {

using RequestWire = RequestServerTest;

TEST_F(RequestWire, AFormPost) {
    server.Enqueue({.status = 200, .body = "ok"});
    config.productVersion = u"6.5.0.77";
    CHttpCurl session;
    Init(session, u"POST", "/form?q=1");
    ASSERT_EQ(session.AddFormField(u"a b", u"1&2"), S_OK);
    ASSERT_EQ(session.AddFormField(u"", u"k=v"), S_OK);
    ASSERT_EQ(session.AddFormField(u"n", std::uint32_t{42}), S_OK);
    std::uint32_t status = 0;
    std::string body;
    ASSERT_EQ(session.MakeRequestToString(status, body), S_OK);

    const std::vector<RecordedRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 1U);
    const RecordedRequest& request = requests[0];
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.target, "/form?q=1");
    EXPECT_EQ(request.body, "a%20b=1%262&k=v&n=42");
    EXPECT_EQ(request.Header("User-Agent"), "HalvexProtect/6.5.0.77");
    EXPECT_EQ(log.Traces(),
              (std::vector<std::string>{
                  "hvx::CHttpCurl::SendRequest post content (20 bytes): a%20b=1%262&k=v&n=42",
                  "CHttpCurl::SendRequest remote request(POST): " + LoggedUrl("/form?q=1") +
                      ", status: 0x0. msg:  / No error"}));
}

TEST_F(RequestWire, ProxySettingsThatCannotBeReadStopTheRequest) {
    config.PutWide("config/conn/proxy/host", u"127.0.0.1");
    config.PutNarrow("config/conn/proxy/type", "carrier-pigeon");
    CHttpCurl session;
    Init(session);
    std::uint32_t status = 0;
    std::string body;
    EXPECT_EQ(session.MakeRequestToString(status, body), E_INVALIDARG);
    EXPECT_EQ(log.Errors(),
              (std::vector<std::string>{
                  "sabko: unknown proxy type \"carrier-pigeon\" under config/conn/proxy/type",
                  "hvx::CHttpCurl::SetProxySettings unable to read proxy settings from config",
                  "hvx::CHttpCurl::SendRequest: unable to set proxy settings",
                  "hvx::CHttpCurl::MakeRequestError occured, 0x80070057:  / No error"}));
    EXPECT_TRUE(server.Requests().empty());
}

}  // namespace
}  // namespace hvx::test
