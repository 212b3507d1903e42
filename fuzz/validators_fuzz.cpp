// The URL and GUID scanners against the ECMAScript patterns they replace, matched by std::wregex
// with the letter case ignored, in the "C" locale (the scanners' letter classes are ASCII; the
// locale is left as the program starts). The patterns recurse once per character, so the text
// is cut to kMaxUnits units.
//
// The first byte chooses the shape of the rest: even, one unit per byte, ASCII as it is and each
// byte from 0x80 one of the units that matter to the patterns or to letter case (line
// separators, letters that fold to ASCII ones in some locale, full-width forms, surrogates), so
// a seed is readable text after that byte and the fuzzer reaches those units in one step; odd,
// little-endian UTF-16 units. What must hold: both scanners answer as their pattern does, for
// every text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iomanip>
#include <iostream>
#include <iterator>
#include <regex>
#include <string>

#include "fuzz/fuzz_check.h"
#include "support/text_utils.h"

namespace {

constexpr std::size_t kMaxUnits = 200;

constexpr char16_t kSpecialUnits[] = {0x0085, 0x2028, 0x2029, 0x212A, 0x017F, 0x0130,
                                      0x0131, 0x00E9, 0x00C9, 0xFF21, 0xFF41, 0xFF10,
                                      0xD800, 0xDC00, 0xFEFF, 0xFFFD, 0x0000, 0xFFFF};

char16_t UnitOfByte(std::uint8_t byte) {
    return byte < 0x80 ? byte : kSpecialUnits[(byte - 0x80U) % std::size(kSpecialUnits)];
}

std::u16string UnitsOf(const std::uint8_t* data, std::size_t size, bool wide) {
    std::u16string text;
    if (!wide) {
        std::transform(data, data + std::min(size, kMaxUnits), std::back_inserter(text),
                       UnitOfByte);
        return text;
    }
    for (std::size_t i = 0; i + 1 < size && text.size() < kMaxUnits; i += 2) {
        text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8U)));
    }
    return text;
}

bool Matches(const std::wregex& pattern, const std::u16string& text) {
    return std::regex_match(std::wstring(text.begin(), text.end()), pattern);
}

// Both answers, and the text as units, on stderr before the run stops.
void CheckSame(const char* name, bool scanner, bool pattern, const std::u16string& text) {
    if (scanner != pattern) {
        std::cerr << name << ": scanner " << scanner << ", pattern " << pattern << ", text:";
        for (const char16_t unit : text) {
            std::cerr << ' ' << std::hex << std::setw(4) << std::setfill('0')
                      << static_cast<unsigned>(unit);
        }
        std::cerr << std::endl;
    }
    hvx::fuzz::Check(scanner == pattern);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    static const std::wregex url(LR"(^http[s]{0,1}://[a-zA-Z0-9]{1,1}[a-zA-Z0-9-_:\./]*/.*)",
                                 std::regex::ECMAScript | std::regex::icase);
    static const std::wregex guid(
        LR"([A-F0-9]{8}-[A-F0-9]{4}-[A-F0-9]{4}-[A-F0-9]{4}-[A-F0-9]{12})",
        std::regex::ECMAScript | std::regex::icase);
    const std::u16string text = UnitsOf(data + 1, size - 1, (data[0] & 1U) != 0);
    CheckSame("url", hvx::IsValidUrl(text), Matches(url, text), text);
    CheckSame("guid", hvx::IsValidGuid(text), Matches(guid, text), text);
    return 0;
}
