#include "tools/backend/http_date.h"

#include <array>

namespace hvx::backend {
namespace {

constexpr const char* kPreferredForm = "%a, %d %b %Y %H:%M:%S GMT";
constexpr std::array kAcceptedForms = {kPreferredForm, "%A, %d-%b-%y %H:%M:%S GMT",
                                       "%a %b %e %H:%M:%S %Y"};
constexpr std::size_t kDateBufferSize = 64;

}  // namespace

// The day and month names come from the C locale, which the backend never changes.
std::string FormatHttpDate(std::time_t time) {
    std::tm broken{};
    gmtime_r(&time, &broken);
    std::array<char, kDateBufferSize> text{};
    const std::size_t length = std::strftime(text.data(), text.size(), kPreferredForm, &broken);
    return {text.data(), length};
}

std::optional<std::time_t> ParseHttpDate(const std::string& text) {
    for (const char* form : kAcceptedForms) {
        std::tm broken{};
        const char* end = strptime(text.c_str(), form, &broken);
        if (end != nullptr && *end == '\0') {
            return timegm(&broken);
        }
    }
    return std::nullopt;
}

}  // namespace hvx::backend
