// How each HTTP status and error body of the server becomes a result code, a body and log lines.
#include <optional>

#include "support/messages.h"
#include "tests/integration/session/request_server_fixture.h"

namespace hvx::test {
namespace {

constexpr const char* kBefore = "before";

constexpr std::string_view kHead = R"({"result": 3238068226, "detail": ")";
constexpr std::string_view kTail = R"("})";

// The detail of an error object of `size` bytes.
std::string DetailOfSize(std::size_t size) {
    std::string detail(size - kHead.size() - kTail.size(), 'd');
    return detail;
}

// A JSON error object of exactly `size` bytes.
std::string ErrorObjectOfSize(std::size_t size) {
    return std::string(kHead) + DetailOfSize(size) + std::string(kTail);
}

struct StatusCase {
    const char* name;
    ScriptedResponse response;
    HRESULT result;
    std::string body;  // the caller's string afterwards
    std::vector<std::string> errors;
    std::optional<std::u16string> errorText;
};

// The error line of a request that failed; `failure` is the result and the texts.
std::string Failure(const std::string& failure) {
    return "hvx::CHttpCurl::MakeRequestError occured, " + failure;
}

// A request that fails and leaves the caller's string as it was.
StatusCase Failed(const char* name, ScriptedResponse response, HRESULT result,
                  const std::string& failure, std::optional<std::u16string> errorText = {}) {
    return {name, std::move(response), result, kBefore, {Failure(failure)}, std::move(errorText)};
}

// An error status whose body gives no code of its own.
StatusCase Rejected(const char* name, std::string body) {
    return Failed(name, {.status = 500, .body = std::move(body)}, HVX_E_HTTP_ERROR_STATUS,
                  "0xc1050001:  / No error");
}

using RequestStatus = RequestServerTest;

TEST_F(RequestStatus, ResultsBodiesAndLogLines) {
    constexpr const char* kNoBody = "0xc1200021:  / No error";
    const StatusCase cases[] = {
        {"200 with body", {.status = 200, .body = "hello"}, S_OK, "hello", {}, {}},
        Failed("200 without body", {.status = 200}, HVX_E_NO_RESPONSE_BODY, kNoBody, u""),
        Failed("204", {.status = 204}, HVX_E_NO_RESPONSE_BODY, kNoBody),
        {"304 leaves the body", {.status = 304}, S_OK, kBefore, {}, {}},
        {"305 reads the body", {.status = 305, .body = "p"}, S_OK, "p", {}, {}},
        {"302 is not followed",
         {.status = 302, .headers = {{"Location", "/elsewhere"}}, .body = "moved"},
         E_FAIL,
         kBefore,
         {"hvx::CHttpCurl::GetResponse : Received an unhandled http response: 302",
          Failure("0x80004005:  / No error")},
         {}},
        Failed("404 with result and detail",
               {.status = 404, .body = R"({"result": 3238068226, "detail": "x"})"},
               HVX_E_SYNC_NOT_GUID, "0xc1010002: x / No error", u"x"),
        // The code is success, so the body is read: the error read took all of it.
        Failed("500 without result", {.status = 500, .body = R"({"detail": "d"})"},
               HVX_E_NO_RESPONSE_BODY, kNoBody, u""),
        Rejected("500 result -1", R"({"result": -1})"),
        Rejected("500 not JSON", "<html>busy</html>"),
        Rejected("500 JSON array", R"([{"result": 3238068226}])"),
        Rejected("500 error body of exactly 8192 bytes", ErrorObjectOfSize(8192)),
        Failed("500 error body of 8191 bytes", {.status = 500, .body = ErrorObjectOfSize(8191)},
               HVX_E_SYNC_NOT_GUID, "0xc1010002: " + DetailOfSize(8191) + " / No error"),
        Rejected("500 error body over 8192 bytes", ErrorObjectOfSize(9000)),
    };
    for (const StatusCase& c : cases) {
        SCOPED_TRACE(c.name);
        server.Enqueue(c.response);
        CHttpCurl session;
        Init(session);
        std::uint32_t status = 0;
        std::string body = kBefore;
        EXPECT_EQ(session.MakeRequestToString(status, body), c.result);
        EXPECT_EQ(status, static_cast<std::uint32_t>(c.response.status));
        EXPECT_EQ(body, c.body);
        if (c.errorText) {
            EXPECT_EQ(session.ErrorText(), *c.errorText);
        }
        EXPECT_EQ(log.Errors(), c.errors);
    }
}

TEST_F(RequestStatus, AServerCodeWithoutDetailTakesTheMessageTable) {
    constexpr HRESULT kUnknown = MakeResult(0xC1FFFFFFU);
    server.Enqueue({.status = 404, .body = R"({"result": 3238068226})"});
    server.Enqueue({.status = 404, .body = R"({"result": 3254779903})"});
    std::u16string known;
    std::u16string general;
    ASSERT_EQ(GetHvxHrMsg(HVX_E_SYNC_NOT_GUID, known), S_OK);
    ASSERT_EQ(GetHvxHrMsg(HVX_E_GENERAL, general), S_OK);
    for (const auto& [code, text] : {std::pair{HVX_E_SYNC_NOT_GUID, known}, {kUnknown, general}}) {
        CHttpCurl session;
        Init(session);
        std::uint32_t status = 0;
        std::string body;
        EXPECT_EQ(session.MakeRequestToString(status, body), code);
        EXPECT_EQ(session.ErrorText(), text);
    }
}

TEST_F(RequestStatus, ALargeBodyIsReadWhole) {
    std::string large(std::size_t{3} << 19, '\0');
    for (std::size_t i = 0; i < large.size(); ++i) {
        large[i] = static_cast<char>('a' + (i * 7 + i / 8191) % 26);
    }
    server.Enqueue({.status = 200, .body = large});
    server.Enqueue({.status = 200, .body = large});
    CHttpCurl session;
    Init(session);
    std::uint32_t status = 0;
    std::string body;
    ASSERT_EQ(session.MakeRequestToString(status, body), S_OK);
    EXPECT_TRUE(body == large) << body.size();

    // The caller's buffer must hold the body and its zero byte.
    server.Enqueue({.status = 200, .body = large});
    std::vector<char> buffer(large.size() + 1, 'x');
    status = 0;
    auto size = static_cast<std::uint32_t>(large.size());
    EXPECT_EQ(session.MakeRequest(&status, &size, buffer.data()), HVX_E_INSUFFICIENT_BUFFER);
    EXPECT_EQ(size, large.size());
    EXPECT_EQ(status, 0U);
    size = static_cast<std::uint32_t>(buffer.size());
    ASSERT_EQ(session.MakeRequest(&status, &size, buffer.data()), S_OK);
    EXPECT_EQ(status, 200U);
    EXPECT_EQ(size, large.size());
    EXPECT_TRUE(std::string_view(buffer.data(), size) == large);
    EXPECT_EQ(buffer.back(), '\0');
}

}  // namespace
}  // namespace hvx::test
