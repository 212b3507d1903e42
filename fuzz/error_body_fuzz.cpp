// Feeds the reader of a server's JSON error body arbitrary bytes, in a buffer of exactly their
// length as the session hands them over. The message table of rosta is compiled in and
// registered as "rosta.dll", so an empty detail is always replaced by a message.
//
// What must hold for every input:
// - the result is 0, HVX_E_ERROR_BODY_NOT_JSON or HVX_E_ERROR_BODY_EXCEPTION;
// - on a failure the code is 0 and the detail empty;
// - on success the detail is never empty;
// - text that is not a JSON object fails as not JSON; an object whose "result" is text, an
//   array, an object or negative fails as an exception;
// - an object whose "result" is absent or an unsigned 32-bit number is read with that code, and
//   a "detail" text that is non-empty UTF-8 comes back as the detail.
#include <json/json.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "interfaces/hvx_types.h"
#include "platform/module.h"
#include "platform/resources.h"
#include "session/error_body.h"
#include "siblings/venit/venit.h"
#include "support/text_utils.h"

extern "C" const hvx::os::ResourceTable* HvxModuleResources();

namespace {

using hvx::fuzz::Check;

enum class Result : std::uint8_t { Readable, Unreadable, Other };

// The body as the library's reader sees it, parsed a second time for the expectations.
struct Expectation {
    bool isObject = false;
    // Readable: absent, or an unsigned 32-bit integer. Unreadable: text, an array, an object or
    // a negative integer. Other: what jsoncpp converts by its own rules (true, 2.5, ...).
    Result result = Result::Other;
    std::uint32_t code = 0;
    std::u16string detail;  // empty when the body's "detail" gives nothing usable
};

Expectation Expect(std::string_view text) {
    Expectation expected;
    Json::Value parsed;
    Json::Reader reader;
    if (!reader.parse(text.data(), text.data() + text.size(), parsed) || !parsed.isObject()) {
        return expected;
    }
    expected.isObject = true;
    const Json::Value& root = parsed;
    const Json::Value& result = root["result"];
    if (result.isNull() || result.isUInt()) {
        expected.result = Result::Readable;
        expected.code = result.isUInt() ? result.asUInt() : 0;
    } else if (result.isString() || result.isArray() || result.isObject() ||
               (result.isIntegral() && !result.isUInt())) {
        expected.result = Result::Unreadable;
    }
    const Json::Value& detail = root["detail"];
    if (detail.isString() && FAILED(hvx::Utf8ToWide(detail.asString(), expected.detail))) {
        expected.detail.clear();
    }
    return expected;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    venit::SetLogFile("");
    hvx::os::RegisterBuiltinModule(u"rosta.dll", {{hvx::os::kResourceTableSymbol,
                                                   reinterpret_cast<void*>(&HvxModuleResources)}});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto body = std::make_unique<char[]>(size);
    std::copy(data, data + size, body.get());
    const std::string_view text(body.get(), size);

    HRESULT code = E_FAIL;
    std::u16string detail = u"untouched";
    const HRESULT result = hvx::session::ParseErrorJson(text, code, detail);
    const Expectation expected = Expect(text);
    if (!expected.isObject) {
        Check(result == hvx::HVX_E_ERROR_BODY_NOT_JSON && code == S_OK && detail.empty());
        return 0;
    }
    if (expected.result == Result::Unreadable || result == hvx::HVX_E_ERROR_BODY_EXCEPTION) {
        Check(expected.result != Result::Readable);
        Check(result == hvx::HVX_E_ERROR_BODY_EXCEPTION && code == S_OK && detail.empty());
        return 0;
    }
    Check(result == S_OK && !detail.empty());
    if (expected.result == Result::Readable) {
        Check(static_cast<std::uint32_t>(code) == expected.code);
    }
    if (!expected.detail.empty()) {
        Check(detail == expected.detail);
    }
    return 0;
}
