// The server's JSON error body: its code, its detail, and the bodies that are not usable.
#include <gtest/gtest.h>

#include "interfaces/hvx_types.h"
#include "session/error_body.h"
#include "support/messages.h"

namespace hvx::test {
namespace {

// A failure code that the message table knows, and one that it does not.
constexpr HRESULT kKnown = HVX_E_SYNC_NOT_GUID;
constexpr const char* kKnownJson = "3238068226";
constexpr const char* kUnknownJson = "3254779903";  // 0xC1FFFFFF

std::u16string Message(HRESULT code) {
    std::u16string text;
    EXPECT_EQ(GetHvxHrMsg(code, text), S_OK);
    return text;
}

struct BodyCase {
    std::string text;
    HRESULT result;
    HRESULT code;
    std::u16string detail;
};

TEST(ErrorBody, Cases) {
    const std::u16string general = Message(HVX_E_GENERAL);
    const BodyCase cases[] = {
        {std::string(R"({"result": )") + kKnownJson + R"(, "detail": "x"})", S_OK, kKnown, u"x"},
        {std::string(R"({"result": )") + kKnownJson + "}", S_OK, kKnown, Message(kKnown)},
        {std::string(R"({"result": )") + kUnknownJson + "}", S_OK, MakeResult(0xC1FFFFFFU),
         general},
        {R"({"detail": "caf\u00e9"})", S_OK, S_OK, u"caf\u00e9"},
        // A detail that is not text, or not UTF-8, gives way to the message table.
        {std::string(R"({"result": )") + kKnownJson + R"(, "detail": {"a": 1}})", S_OK, kKnown,
         Message(kKnown)},
        {std::string(R"({"result": )") + kKnownJson + ", \"detail\": \"\xFF\"}", S_OK, kKnown,
         Message(kKnown)},
        {R"({"result": -1, "detail": "x"})", HVX_E_ERROR_BODY_EXCEPTION, S_OK, u""},
        {R"({"result": "5"})", HVX_E_ERROR_BODY_EXCEPTION, S_OK, u""},
        {R"({"result": 4294967296})", HVX_E_ERROR_BODY_EXCEPTION, S_OK, u""},
        {"<html>oops</html>", HVX_E_ERROR_BODY_NOT_JSON, S_OK, u""},
        {"", HVX_E_ERROR_BODY_NOT_JSON, S_OK, u""},
        {R"([{"result": 1}])", HVX_E_ERROR_BODY_NOT_JSON, S_OK, u""},
        {"null", HVX_E_ERROR_BODY_NOT_JSON, S_OK, u""},
    };
    for (const BodyCase& c : cases) {
        SCOPED_TRACE(c.text);
        HRESULT code = E_FAIL;
        std::u16string detail = u"stale";
        EXPECT_EQ(session::ParseErrorJson(c.text, code, detail), c.result);
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(detail, c.detail);
    }
}

}  // namespace
}  // namespace hvx::test
