#include "clients/update/version_number.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

namespace hvx::update {

namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// One "%d" field from `at`; `at` moves past it. Nothing when no digit follows the sign.
std::optional<std::uint32_t> ReadField(std::u16string_view text, std::size_t& at) {
    while (at < text.size() && IsBlank(text[at])) {
        ++at;
    }
    const bool negative = at < text.size() && text[at] == u'-';
    if (at < text.size() && (text[at] == u'-' || text[at] == u'+')) {
        ++at;
    }
    if (at >= text.size() || !IsDigit(text[at])) {
        return std::nullopt;
    }
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; at < text.size() && IsDigit(text[at]); ++at) {
        magnitude = std::min<std::int64_t>(magnitude * 10 + (text[at] - u'0'), kLimit);
    }
    const std::int64_t value =
        negative ? -magnitude : std::min<std::int64_t>(magnitude, kLimit - 1);
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
}

}  // namespace

std::array<std::uint32_t, 4> ReadVersionFields(std::u16string_view text, std::size_t count) {
    std::array<std::uint32_t, 4> fields{};
    std::size_t at = 0;
    for (std::size_t i = 0; i < count && i < fields.size(); ++i) {
        if (i > 0) {
            if (at >= text.size() || text[at] != u'.') {
                break;
            }
            ++at;
        }
        const std::optional<std::uint32_t> field = ReadField(text, at);
        if (!field) {
            break;
        }
        fields.at(i) = *field;
    }
    return fields;
}

}  // namespace hvx::update
