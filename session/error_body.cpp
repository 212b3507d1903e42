// The server's JSON error body, read with jsoncpp.
#include "session/error_body.h"

#include <json/json.h>

#include <exception>
#include <string>

#include "interfaces/hvx_types.h"
#include "session/http_curl.h"
#include "support/messages.h"
#include "support/text_utils.h"

namespace hvx {

namespace session {

namespace {

constexpr const char* kResultMember = "result";
constexpr const char* kDetailMember = "detail";

// The "detail" member decoded from UTF-8; empty when it is absent, not text or not UTF-8.
std::u16string ReadDetail(const Json::Value& root) {
    std::u16string detail;
    try {
        static_cast<void>(Utf8ToWide(root[kDetailMember].asString(), detail));
    } catch (const std::exception&) {
        detail.clear();
    }
    return detail;
}

// The message of `code`, or of HVX_E_GENERAL when `code` has none.
void FillFromMessages(HRESULT code, std::u16string& detail) {
    if (FAILED(GetHvxHrMsg(code, detail))) {
        static_cast<void>(GetHvxHrMsg(HVX_E_GENERAL, detail));
    }
}

}  // namespace

HRESULT ParseErrorJson(std::string_view text, HRESULT& code, std::u16string& detail) {
    code = S_OK;
    detail.clear();
    try {
        Json::Value root;
        Json::Reader reader;
        if (!reader.parse(text.data(), text.data() + text.size(), root) || !root.isObject()) {
            return HVX_E_ERROR_BODY_NOT_JSON;
        }
        const Json::Value& object = root;
        code = static_cast<HRESULT>(object[kResultMember].asUInt());
        detail = ReadDetail(object);
    } catch (const std::exception&) {
        code = S_OK;
        detail.clear();
        return HVX_E_ERROR_BODY_EXCEPTION;
    }
    if (detail.empty()) {
        FillFromMessages(code, detail);
    }
    return S_OK;
}

}  // namespace session

// NOLINTNEXTLINE(readability-convert-member-functions-to-static): a step of the session's request.
HRESULT CHttpCurl::ParseErrorBody(const char* bytes, std::size_t count, HRESULT& code,
                                  std::u16string& detail) {
    return session::ParseErrorJson(std::string_view(bytes, count), code, detail);
}

}  // namespace hvx
