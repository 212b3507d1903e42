// Form fields of a hvx::CHttpCurl session: how they are added, joined into the form body, and
// whether a POST body may be traced.
#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include "session/http_curl.h"
#include "support/text_utils.h"

namespace hvx {

namespace {

constexpr std::string_view kFieldSeparator = "&";
constexpr std::string_view kNameValueSeparator = "=";
// Requests of this "tid" carry data that must not reach the log.
constexpr std::string_view kTidField = "tid";
constexpr std::int64_t kUnloggedTid = 0x41000040;

// A number in decimal, without separators.
std::u16string Decimal(std::uint64_t value) {
    const std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

}  // namespace

// NOLINTNEXTLINE(performance-unnecessary-value-param): the session's texts are taken by value.
HRESULT CHttpCurl::AddFormField(std::u16string name, std::u16string value) {
    std::string encodedName;
    std::string encodedValue;
    const HRESULT nameResult = UrlEncode(name, encodedName);
    HRESULT result = nameResult;
    if (!name.empty()) {
        result = UrlEncode(value, encodedValue);
    } else {
        // A field without a name is raw body text; a value that does not convert is left empty.
        static_cast<void>(WideToUtf8(value, encodedValue));
    }
    m_formFields.emplace_back(std::move(encodedName), std::move(encodedValue));
    return result;
}

HRESULT CHttpCurl::AddFormField(std::u16string name, std::uint32_t value) {
    return AddFormField(std::move(name), Decimal(value));
}

HRESULT CHttpCurl::AddFormField(std::u16string name, std::uint64_t value) {
    return AddFormField(std::move(name), Decimal(value));
}

std::string CHttpCurl::BuildFormBody() const {
    std::size_t length = 0;
    for (const auto& [name, value] : m_formFields) {
        length += name.size() + value.size() + kNameValueSeparator.size() + kFieldSeparator.size();
    }
    std::string body;
    body.reserve(length);
    bool first = true;
    for (const auto& [name, value] : m_formFields) {
        if (!first) {
            body += kFieldSeparator;
        }
        first = false;
        if (!name.empty()) {
            body += name;
            body += kNameValueSeparator;
        }
        body += value;
    }
    return body;
}

bool CHttpCurl::IsPostContentLoggable() const {
    for (const auto& [name, value] : m_formFields) {
        if (name != kTidField) {
            continue;
        }
        std::int64_t tid = 0;
        const std::from_chars_result read =
            std::from_chars(value.data(), value.data() + value.size(), tid);
        return read.ec != std::errc{} || tid != kUnloggedTid;
    }
    return true;
}

}  // namespace hvx
