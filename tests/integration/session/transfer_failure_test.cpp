// Transfers that fail: a server that hangs up mid-body or never answers, a shutdown of the agent,
// and proxy settings that cannot be read.
#include "tests/integration/session/request_server_fixture.h"

namespace hvx::test {
namespace {

constexpr const char* kSendFailure = "hvx::CHttpCurl::SendRequest  sending remote request(GET): ";

// The two errors of a GET of `url` that libcurl failed with `code`, its error buffer `message`
// and its description `text`.
std::vector<std::string> TransferErrors(const std::string& url, const std::string& code,
                                        const std::string& message, const std::string& text) {
    return {kSendFailure + url + ", status: " + code + ". msg: " + message + " / " + text,
            "hvx::CHttpCurl::MakeRequestError occured, 0xc1050007:  / " + text};
}

using RequestFailure = RequestServerTest;

TEST_F(RequestFailure, AServerThatClosesMidBody) {
    server.Enqueue({.status = 200, .body = std::string(1000, 'b'), .closeAfterBodyBytes = 100});
    CHttpCurl session;
    Init(session);
    std::uint32_t status = 0;
    std::string body = "before";
    EXPECT_EQ(session.MakeRequestToString(status, body), HVX_E_TRANSFER_FAILED);
    EXPECT_EQ(body, "before");
    EXPECT_EQ(log.Errors(), TransferErrors(LoggedUrl(), "0x12",
                                           "transfer closed with 900 bytes remaining to read",
                                           "Transferred a partial file"));
    EXPECT_TRUE(log.HasTrace("CHttpCurl::SendRequest remote request(GET): " + LoggedUrl() +
                             ", status: 0xc1050007. msg: transfer closed with 900 bytes remaining "
                             "to read / Transferred a partial file"));
}

TEST_F(RequestFailure, AServerThatNeverAnswersPastTheTransferTimeOut) {
    server.Enqueue({.neverAnswer = true});
    CHttpCurl session;
    Init(session, u"GET", "/r", 1);
    std::uint32_t status = 0;
    std::string body;
    EXPECT_EQ(session.MakeRequestToString(status, body), HVX_E_TRANSFER_FAILED);
    const std::vector<std::string> errors = log.Errors();
    ASSERT_EQ(errors.size(), 2U);
    // libcurl's text names the milliseconds that passed.
    EXPECT_TRUE(errors[0].starts_with(kSendFailure + LoggedUrl() +
                                      ", status: 0x1c. msg: Operation timed out after "))
        << errors[0];
    EXPECT_TRUE(errors[0].ends_with(" / Timeout was reached")) << errors[0];
    EXPECT_EQ(errors[1], TransferErrors(LoggedUrl(), "", "", "Timeout was reached")[1]);
}

TEST_F(RequestFailure, AShutdownAbortsASlowTransfer) {
    server.Enqueue({.neverAnswer = true});
    // Shutting down once the request has reached the server, so the transfer is under way.
    const auto shutdown = [this] { return !server.Requests().empty(); };
    CHttpCurl session;
    Init(session, u"GET", "/r", 0, shutdown);
    std::uint32_t status = 0;
    std::string body;
    EXPECT_EQ(session.MakeRequestToString(status, body), HVX_E_TRANSFER_FAILED);
    EXPECT_TRUE(
        log.HasTrace("hvx::CHttpCurl::GetShutdownStatus shutdown state detected, setting "
                     "transfer abort conditions"));
    EXPECT_EQ(log.Errors(), TransferErrors(LoggedUrl(), "0x2a", "Callback aborted",
                                           "Operation was aborted by an application callback"));
}

TEST_F(RequestFailure, ProxySettingsThatCannotBeReadStopTheRequest) {
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
