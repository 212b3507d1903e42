#include "siblings/venit/format_text.h"

#include <string_view>

#include "siblings/venit/format_number.h"
#include "siblings/venit/text_convert.h"

namespace venit::detail {
namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;
constexpr char32_t kLastCodePoint = 0x10FFFF;
constexpr char32_t kFirstSurrogate = 0xD800;
constexpr char32_t kLastSurrogate = 0xDFFF;
constexpr char32_t kFirstSupplementary = 0x10000;

template <typename CharT>
std::basic_string_view<CharT> Shorten(std::basic_string_view<CharT> text, int precision) {
    if (precision < 0) {
        return text;
    }
    return text.substr(0, PrefixAtBoundary(text, static_cast<std::size_t>(precision)));
}

std::string_view NarrowView(const FormatArg& text) {
    return text.narrow() != nullptr ? std::string_view(text.narrow(), text.length()) : kNullText;
}

bool IsNullText(const FormatArg& text) {
    return text.kind() == FormatArg::Kind::Wide && text.wide() == nullptr;
}

// A negative char or short stands for the unsigned unit it holds.
char32_t CodePointOf(const FormatArg& value) {
    std::uint64_t bits = RawBits(value);
    if (value.kind() == FormatArg::Kind::Signed && value.size() < sizeof(std::uint32_t)) {
        bits &= (std::uint64_t{1} << (value.size() * 8)) - 1;
    }
    if (bits > kLastCodePoint || (bits >= kFirstSurrogate && bits <= kLastSurrogate)) {
        return kReplacementCharacter;
    }
    return static_cast<char32_t>(bits);
}

std::u16string Utf16Of(char32_t codePoint) {
    if (codePoint < kFirstSupplementary) {
        return {static_cast<char16_t>(codePoint)};
    }
    const char32_t offset = codePoint - kFirstSupplementary;
    return {static_cast<char16_t>(0xD800 + (offset >> 10)),
            static_cast<char16_t>(0xDC00 + (offset & 0x3FF))};
}

}  // namespace

void AppendText(std::string& out, const FormatArg& text, int precision) {
    if (text.kind() == FormatArg::Kind::Wide && !IsNullText(text)) {
        AppendUtf16AsUtf8(out, Shorten(std::u16string_view(text.wide(), text.length()), precision));
        return;
    }
    const std::string_view narrow = IsNullText(text) ? kNullText : NarrowView(text);
    out.append(Shorten(narrow, precision));
}

void AppendText(std::u16string& out, const FormatArg& text, int precision) {
    if (text.kind() == FormatArg::Kind::Wide && !IsNullText(text)) {
        out.append(Shorten(std::u16string_view(text.wide(), text.length()), precision));
        return;
    }
    const std::string_view narrow = IsNullText(text) ? kNullText : NarrowView(text);
    AppendUtf8AsUtf16(out, Shorten(narrow, precision));
}

void AppendCharacter(std::string& out, const FormatArg& value) {
    AppendUtf16AsUtf8(out, Utf16Of(CodePointOf(value)));
}

void AppendCharacter(std::u16string& out, const FormatArg& value) {
    out.append(Utf16Of(CodePointOf(value)));
}

}  // namespace venit::detail
