#include "siblings/venit/log_line.h"

#include <array>

namespace venit {

namespace {

constexpr unsigned char kDelete = 0x7F;
constexpr unsigned char kC1Lead = 0xC2;  // U+0080 to U+009F are 0xC2 0x80 to 0xC2 0x9F
constexpr unsigned char kC1First = 0x80;
constexpr unsigned char kC1Last = 0x9F;

bool IsC0OrDelete(unsigned char byte) {
    return byte < ' ' || byte == kDelete;
}

bool IsC1Pair(std::string_view text, std::size_t at) {
    if (static_cast<unsigned char>(text[at]) != kC1Lead || at + 1 >= text.size()) {
        return false;
    }
    const auto next = static_cast<unsigned char>(text[at + 1]);
    return next >= kC1First && next <= kC1Last;
}

void AppendHex(std::string& out, unsigned char byte) {
    constexpr std::array<char, 16> kDigits{'0', '1', '2', '3', '4', '5', '6', '7',
                                           '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'};
    constexpr unsigned kNibble = 4;
    constexpr unsigned kLowNibble = 0x0F;
    out += "\\x";
    out += kDigits[byte >> kNibble];
    out += kDigits[byte & kLowNibble];
}

}  // namespace

std::string EscapeControlCharacters(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (IsC0OrDelete(byte)) {
            AppendHex(escaped, byte);
        } else if (IsC1Pair(text, i)) {
            AppendHex(escaped, byte);
            AppendHex(escaped, static_cast<unsigned char>(text[++i]));
        } else {
            escaped += text[i];
        }
    }
    return escaped;
}

namespace detail {

std::string RecordPayload(RecordKind kind, std::string_view text) {
    std::string payload = kind == RecordKind::Error ? "ERROR " : "TRACE ";
    payload.append(text);
    return payload;
}

}  // namespace detail

}  // namespace venit
