// The library's UTF-8 / UTF-16 conversions against a decoder written from the definition of
// well-formed UTF-8 (decode first, then refuse overlong forms, surrogates and code points above
// U+10FFFF), which shares nothing with the table-driven converter of the platform layer.
//
// The first byte chooses the direction; the rest is the text (bytes, or little-endian UTF-16
// units). What must hold:
// - UTF-8 in: the text up to its first zero is converted when it is well-formed, into exactly
//   what the reference decoder gives, and converting that back gives the same bytes; text that
//   is not well-formed fails with E_INVALIDARG and leaves the output untouched;
// - UTF-16 in: the text up to its first zero always converts; reading the result back gives the
//   same units, with every lone surrogate turned into U+FFFD.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "interfaces/hvx_types.h"
#include "support/text_utils.h"

namespace {

using hvx::fuzz::Check;

constexpr char16_t kReplacement = 0xFFFD;
constexpr char32_t kMaxCodePoint = 0x10FFFF;
constexpr std::u16string_view kUntouched = u"untouched";
constexpr std::string_view kUntouchedNarrow = "untouched";

bool IsSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDFFF;
}

void AppendUtf16(char32_t codePoint, std::u16string& out) {
    if (codePoint < 0x10000) {
        out.push_back(static_cast<char16_t>(codePoint));
        return;
    }
    const char32_t offset = codePoint - 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (offset >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
}

// The number of continuation bytes a lead byte announces, or nothing for a byte that cannot
// start a sequence.
std::optional<std::size_t> TrailCount(unsigned lead) {
    if (lead < 0x80) {
        return 0;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 1;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 2;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 3;
    }
    return std::nullopt;
}

std::optional<std::u16string> ReferenceDecode(std::string_view utf8) {
    static constexpr char32_t kLowest[] = {0, 0x80, 0x800, 0x10000};
    static constexpr unsigned kLeadBits[] = {0x7F, 0x1F, 0x0F, 0x07};
    std::u16string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const auto trail = TrailCount(lead);
        if (!trail || utf8.size() - i <= *trail) {
            return std::nullopt;
        }
        char32_t codePoint = lead & kLeadBits[*trail];
        for (std::size_t k = 1; k <= *trail; ++k) {
            const auto byte = static_cast<unsigned char>(utf8[i + k]);
            if ((byte & 0xC0) != 0x80) {
                return std::nullopt;
            }
            codePoint = (codePoint << 6) | (byte & 0x3F);
        }
        if (codePoint < kLowest[*trail] || codePoint > kMaxCodePoint || IsSurrogate(codePoint)) {
            return std::nullopt;
        }
        AppendUtf16(codePoint, out);
        i += *trail + 1;
    }
    return out;
}

void CheckNarrow(std::string_view bytes) {
    const std::string text(bytes);
    const std::string_view converted = bytes.substr(0, bytes.find('\0'));
    const auto reference = ReferenceDecode(converted);

    std::u16string wide(kUntouched);
    const HRESULT result = hvx::Utf8ToWide(text, wide);
    if (!reference) {
        Check(result == E_INVALIDARG && wide == kUntouched);
        return;
    }
    Check(result == S_OK && wide == *reference);
    std::string back(kUntouchedNarrow);
    Check(hvx::WideToUtf8(wide, back) == S_OK && back == converted);
}

void CheckWide(std::span<const std::uint8_t> bytes) {
    std::u16string wide;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        wide.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
    }
    const std::u16string converted = wide.substr(0, wide.find(u'\0'));
    std::u16string expected;
    for (std::size_t i = 0; i < converted.size(); ++i) {
        const char16_t unit = converted[i];
        const bool pairs = unit >= 0xD800 && unit <= 0xDBFF && i + 1 < converted.size() &&
                           converted[i + 1] >= 0xDC00 && converted[i + 1] <= 0xDFFF;
        if (pairs) {
            expected.append(converted, i++, 2);
        } else {
            expected.push_back(IsSurrogate(unit) ? kReplacement : unit);
        }
    }

    std::string utf8(kUntouchedNarrow);
    Check(hvx::WideToUtf8(wide, utf8) == S_OK && ReferenceDecode(utf8) == expected);
    std::u16string back(kUntouched);
    Check(hvx::Utf8ToWide(utf8, back) == S_OK && back == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::span<const std::uint8_t> text(data + 1, size - 1);
    if ((data[0] & 1U) == 0) {
        CheckNarrow(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
    } else {
        CheckWide(text);
    }
    return 0;
}
