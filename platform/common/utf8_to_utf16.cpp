#include <algorithm>
#include <array>
#include <cstdint>

#include "platform/common/utf_convert.h"

namespace hvx::os::detail {

namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr char32_t kFirstSupplementary = 0x10000;
constexpr char16_t kHighSurrogateBase = 0xD800;
constexpr char16_t kLowSurrogateBase = 0xDC00;

// What a lead byte announces: how many continuation bytes follow, and the range the first of
// them must fall in. The narrowed ranges after E0, ED, F0 and F4 are what excludes overlong
// forms, encoded surrogates and code points above U+10FFFF.
struct Lead {
    std::uint8_t trail = 0;
    std::uint8_t low = 0;
    std::uint8_t high = 0;
};

constexpr Lead LeadOf(unsigned byte) {
    if (byte >= 0xC2 && byte <= 0xDF) {
        return {1, 0x80, 0xBF};
    }
    if (byte == 0xE0) {
        return {2, 0xA0, 0xBF};
    }
    if (byte == 0xED) {
        return {2, 0x80, 0x9F};
    }
    if (byte >= 0xE1 && byte <= 0xEF) {
        return {2, 0x80, 0xBF};
    }
    if (byte == 0xF0) {
        return {3, 0x90, 0xBF};
    }
    if (byte >= 0xF1 && byte <= 0xF3) {
        return {3, 0x80, 0xBF};
    }
    if (byte == 0xF4) {
        return {3, 0x80, 0x8F};
    }
    return {};
}

constexpr std::array<Lead, 256> kLeads = [] {
    std::array<Lead, 256> table{};
    for (unsigned byte = 0; byte < table.size(); ++byte) {
        table.at(byte) = LeadOf(byte);
    }
    return table;
}();

struct Sequence {
    char32_t codePoint;
    std::size_t length;  // bytes taken: the whole sequence, or its maximal ill-formed part
    bool valid;
};

Sequence DecodeSequence(const std::uint8_t* p, const std::uint8_t* end) {
    const Lead& lead = kLeads.at(*p);
    if (lead.trail == 0) {
        return {0, 1, false};
    }
    char32_t codePoint = *p & (0x3Fu >> lead.trail);
    std::uint8_t low = lead.low;
    std::uint8_t high = lead.high;
    for (std::size_t i = 1; i <= lead.trail; ++i) {
        if (p + i == end || p[i] < low || p[i] > high) {
            return {0, i, false};
        }
        codePoint = (codePoint << 6) | (p[i] & 0x3Fu);
        low = 0x80;
        high = 0xBF;
    }
    return {codePoint, std::size_t{lead.trail} + 1, true};
}

class Utf16Writer {
public:
    Utf16Writer(char16_t* dst, int capacity) : m_dst(dst), m_capacity(capacity) {}

    [[nodiscard]] bool Put(char16_t unit) {
        if (m_dst != nullptr) {
            if (m_count == m_capacity) {
                return false;
            }
            m_dst[m_count] = unit;
        }
        ++m_count;
        return true;
    }

    [[nodiscard]] bool PutCodePoint(char32_t codePoint) {
        if (codePoint < kFirstSupplementary) {
            return Put(static_cast<char16_t>(codePoint));
        }
        const char32_t offset = codePoint - kFirstSupplementary;
        if (m_dst != nullptr && m_capacity - m_count < 2) {
            return false;
        }
        return Put(static_cast<char16_t>(kHighSurrogateBase + (offset >> 10))) &&
               Put(static_cast<char16_t>(kLowSurrogateBase + (offset & 0x3FFu)));
    }

    // A run of ASCII bytes, checked for room once.
    [[nodiscard]] bool PutAscii(const std::uint8_t* from, const std::uint8_t* to) {
        const auto size = static_cast<int>(to - from);
        if (m_dst != nullptr) {
            if (m_capacity - m_count < size) {
                return false;
            }
            std::copy(from, to, m_dst + m_count);
        }
        m_count += size;
        return true;
    }

    int Count() const { return m_count; }

private:
    char16_t* m_dst;
    int m_capacity;
    int m_count = 0;
};

}  // namespace

ConversionResult Utf8ToUtf16(const char* src, std::size_t length, bool strict, char16_t* dst,
                             int capacity) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(src);
    const auto* const end = p + length;
    Utf16Writer out(dst, capacity);
    while (p != end) {
        if (*p < 0x80) {
            const std::uint8_t* const run =
                std::find_if(p, end, [](std::uint8_t b) { return b >= 0x80; });
            if (!out.PutAscii(p, run)) {
                return {0, ERROR_INSUFFICIENT_BUFFER};
            }
            p = run;
            continue;
        }
        const Sequence sequence = DecodeSequence(p, end);
        p += sequence.length;
        if (!sequence.valid && strict) {
            return {0, ERROR_NO_UNICODE_TRANSLATION};
        }
        const bool stored =
            sequence.valid ? out.PutCodePoint(sequence.codePoint) : out.Put(kReplacement);
        if (!stored) {
            return {0, ERROR_INSUFFICIENT_BUFFER};
        }
    }
    return {out.Count(), ERROR_SUCCESS};
}

}  // namespace hvx::os::detail
