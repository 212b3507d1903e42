// How each HTTP status and error body of the server becomes a result code, a body and log lines
// (the 8 KiB bound of the error body is a case of the hostile suite).
#include <optional>

#include "tests/integration/session/request_server_fixture.h"

namespace hvx::test {
namespace {

constexpr const char* kBefore = "before";

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
        Failed("404 with result and detail",
               {.status = 404, .body = R"({"result": 3238068226, "detail": "x"})"},
               HVX_E_SYNC_NOT_GUID, "0xc1010002: x / No error", u"x"),
        // The code is success, so the body is read: the error read took all of it.
        Failed("500 without result", {.status = 500, .body = R"({"detail": "d"})"},
               HVX_E_NO_RESPONSE_BODY, kNoBody, u""),
        Rejected("500 not JSON", "<html>busy</html>"),
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

}  // namespace
}  // namespace hvx::test
