// MakeRequest's forms against the scripted engine: the caller's buffer, methods the session does
// not know, and the log lines of a failed transfer.
#include <algorithm>
#include <array>
#include <functional>

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

// The limits each form tells the engine, from the configuration or its defaults.
using RequestLimits = SessionTest;

struct LimitsCase {
    const char* name;
    std::function<HRESULT(CHttpCurl&)> run;
    std::uint64_t keep;
    BodyOverflow overflow;
    std::uint64_t count;
};

TEST_F(RequestLimits, EachFormTellsTheEngineWhatItCanTake) {
    config.PutDword(keys::kMaxBodySize, 1000);
    config.PutDword(keys::kMaxTransferTime, 60);
    config.PutDword(keys::kStallTime, 3601);  // out of range: the default, and a record
    std::uint32_t status = 0;
    std::string text;
    std::u16string wide;
    std::array<char, 16> buffer{};
    std::uint32_t size = 16;
    const auto kFail = BodyOverflow::kFail;
    const std::vector<LimitsCase> cases = {
        {"string", [&](CHttpCurl& s) { return s.MakeRequestToString(status, text); }, 1000, kFail,
         UINT64_MAX},
        {"wide string", [&](CHttpCurl& s) { return s.MakeRequestToWideString(status, wide); }, 1000,
         kFail, UINT64_MAX},
        {"buffer", [&](CHttpCurl& s) { return s.MakeRequest(&status, &size, buffer.data()); }, 15,
         BodyOverflow::kCount, std::uint64_t{1} << 32U},
    };
    for (const LimitsCase& c : cases) {
        SCOPED_TRACE(c.name);
        CHttpCurl session;
        Init(session, u"GET");
        EXPECT_EQ(c.run(session), S_OK);
        ASSERT_EQ(Engine().limits.size(), 1U);
        const TransferLimits& told = Engine().limits[0];
        EXPECT_EQ(told.keepBytes, c.keep);
        EXPECT_EQ(told.overflow, c.overflow);
        EXPECT_EQ(told.countBytes, c.count);
        EXPECT_EQ(told.errorBodyBytes, 8192U);
        EXPECT_EQ(told.ceilingSeconds, 60U);
        EXPECT_EQ(told.stallSeconds, 300U);
        EXPECT_EQ(told.stallBytesPerSecond, 1024U);
        EXPECT_EQ(log.Errors(),
                  std::vector<std::string>{"hvx::CHttpCurl: config/conn/stalltime "
                                           "is 3601, outside 1 to 3600; 300 is used"});
    }
}

TEST_F(RequestLimits, ABodyOf4GiBOrMoreReportsTheLargestSize) {
    for (const std::uint64_t received : {std::uint64_t{3} << 30U, std::uint64_t{5} << 30U}) {
        engines.script.receivedLength = received;
        CHttpCurl session;
        Init(session, u"GET");
        std::array<char, 16> buffer{};
        std::uint32_t status = kUntouched;
        std::uint32_t size = 16;
        EXPECT_EQ(session.MakeRequest(&status, &size, buffer.data()), HVX_E_INSUFFICIENT_BUFFER);
        EXPECT_EQ(size, std::min<std::uint64_t>(received, UINT32_MAX));
        EXPECT_EQ(status, kUntouched);
        EXPECT_TRUE(Engine().readCapacities.empty());
    }
}

TEST_F(RequestLimits, LimitsTheEngineRefusesFailTheRequest) {
    engines.script.limitsResult = kCurlBadFunctionArgument;
    CHttpCurl session;
    Init(session, u"GET");
    std::uint32_t status = 0;
    std::string body;
    EXPECT_EQ(session.MakeRequestToString(status, body), E_UNEXPECTED);
    EXPECT_TRUE(Engine().transfers.empty());
    EXPECT_EQ(log.Errors(),
              (std::vector<std::string>{
                  "hvx::CHttpCurl: the engine refused the transfer limits, res: 43",
                  "hvx::CHttpCurl::MakeRequestError occured, 0x8000ffff:  / No error"}));
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
