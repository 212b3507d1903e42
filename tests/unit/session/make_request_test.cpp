// MakeRequest's forms against the scripted engine: the caller's buffer, methods the session does
// not know, and the log lines of a failed transfer.
#include <array>

#include "tests/support/session_fixture.h"

namespace hvx::test {
namespace {

constexpr std::uint32_t kUntouched = 0xDEADU;

using RequestBuffer = SessionTest;

struct BufferCase {
    const char* name;
    std::string body;
    std::string content;   // the buffer's text afterwards
    std::uint32_t status;  // the answer's
    std::uint32_t capacity;
    HRESULT result;
    bool withBuffer;
};

TEST_F(RequestBuffer, SizeRules) {
    std::string large(20000, '\0');
    for (std::size_t i = 0; i < large.size(); ++i) {
        large[i] = static_cast<char>('a' + i % 23);
    }
    const BufferCase cases[] = {
        {"capacity = length", "hello", "", 200, 5, HVX_E_INSUFFICIENT_BUFFER, true},
        {"length + 1 fits exactly", "hello", "hello", 200, 6, S_OK, true},
        {"null buffer, no capacity", "hello", "", 200, 0, HVX_E_INSUFFICIENT_BUFFER, false},
        {"null buffer, room enough", "hello", "", 200, 64, S_OK, false},
        {"many parts that fit", large, large, 200, 20001, S_OK, true},
        {"many parts, one byte short", large, "", 200, 20000, HVX_E_INSUFFICIENT_BUFFER, true},
        {"304 gives an empty body", "ignored", "", 304, 1, S_OK, true},
    };
    for (const BufferCase& c : cases) {
        SCOPED_TRACE(c.name);
        engines.script.responseCode = c.status;
        engines.script.body = c.body;
        CHttpCurl session;
        Init(session, u"GET");
        std::vector<char> buffer(c.capacity + 8, 'x');
        buffer.back() = '\0';
        std::uint32_t status = kUntouched;
        std::uint32_t size = c.capacity;
        EXPECT_EQ(session.MakeRequest(&status, &size, c.withBuffer ? buffer.data() : nullptr),
                  c.result);
        EXPECT_EQ(size, c.status == 304 ? 0U : c.body.size());
        EXPECT_EQ(status, SUCCEEDED(c.result) ? c.status : kUntouched);
        if (c.withBuffer) {
            EXPECT_TRUE(buffer.data() == c.content) << buffer.data();
            EXPECT_EQ(buffer[c.capacity], 'x');
        }
        for (const std::uint32_t capacity : Engine().readCapacities) {
            EXPECT_EQ(capacity, 8192U);
        }
    }
}

TEST_F(RequestBuffer, AFailedRequestWritesNeitherStatusNorSize) {
    engines.script.body.clear();
    CHttpCurl session;
    Init(session, u"GET");
    std::array<char, 4> buffer{'x', 'x', 'x', 'x'};
    std::uint32_t status = kUntouched;
    std::uint32_t size = 4;
    EXPECT_EQ(session.MakeRequest(&status, &size, buffer.data()), HVX_E_NO_RESPONSE_BODY);
    EXPECT_EQ(status, kUntouched);
    EXPECT_EQ(size, 4U);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(log.Errors(),
              std::vector<std::string>{
                  "hvx::CHttpCurl::MakeRequestError occured, 0xc1200021:  / No error"});
    EXPECT_EQ(session.MakeRequest(nullptr, &size, buffer.data()), HVX_E_INVALID_ARGUMENT);
    EXPECT_EQ(session.MakeRequest(&status, nullptr, buffer.data()), HVX_E_INVALID_ARGUMENT);
}

TEST_F(RequestBuffer, AMethodOtherThanGetPostOrPutSendsNothing) {
    CHttpCurl session;
    Init(session, u"DELETE");
    std::uint32_t status = 0;
    std::string body;
    // The port option's outcome stands for the transfer; the engine holds no body.
    EXPECT_EQ(session.MakeRequestToString(status, body), HVX_E_NO_RESPONSE_BODY);
    EXPECT_TRUE(Engine().transfers.empty());
    ASSERT_NE(Engine().Option(curlopt::kPort), nullptr);
    EXPECT_EQ(*Engine().Option(curlopt::kPort), 443);

    CHttpCurl refused;
    Init(refused, u"DELETE");
    Engine().script.optionResults[curlopt::kPort] = kCurlCouldntConnect;
    EXPECT_EQ(refused.MakeRequestToString(status, body), HVX_E_TRANSFER_FAILED);
}

TEST_F(RequestBuffer, AFailedTransferIsLoggedBySendRequestAndMakeRequest) {
    engines.script.transferResult = kCurlCouldntConnect;
    engines.script.errorBuffer = "Failed to connect";
    engines.script.lastError = "Couldn't connect to server";
    CHttpCurl session;
    Init(session, u"PUT");
    std::uint32_t status = 0;
    std::u16string body = u"kept";
    EXPECT_EQ(session.MakeRequestToWideString(status, body), HVX_E_TRANSFER_FAILED);
    EXPECT_EQ(body, u"kept");
    EXPECT_EQ(Engine().transfers.at(0).method, "PUT");
    EXPECT_EQ(log.Errors(),
              (std::vector<std::string>{
                  "hvx::CHttpCurl::SendRequest  sending remote request(PUT): "
                  "https://backend.example/api/v1?x=1, status: 0x7. msg: Failed to connect / "
                  "Couldn't connect to server",
                  "hvx::CHttpCurl::MakeRequestError occured, 0xc1050007:  / Couldn't connect to "
                  "server"}));
    EXPECT_TRUE(log.HasTrace(
        "CHttpCurl::SendRequest remote request(PUT): https://backend.example/api/v1?x=1, status: "
        "0xc1050007. msg: Failed to connect / Couldn't connect to server"));
}

TEST(RequestWithoutInit, FailsWithoutAnEngine) {
    LogCapture log;
    CHttpCurl session;
    std::uint32_t status = 0;
    std::vector<char> body{'k'};
    EXPECT_EQ(session.MakeRequest(status, body), E_FAIL);
    EXPECT_EQ(body, std::vector<char>{'k'});
    EXPECT_EQ(log.Errors(),
              std::vector<std::string>{"hvx::CHttpCurl::MakeRequestError occured, 0x80004005:  / "
                                       "m_pICurl is NULL"});
}

}  // namespace
}  // namespace hvx::test
