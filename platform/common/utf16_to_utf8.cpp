#include <algorithm>
#include <climits>
#include <cstdint>

#include "platform/common/utf_convert.h"

namespace hvx::os::detail {

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kFirstSupplementary = 0x10000;

constexpr bool IsHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
constexpr bool IsLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}
constexpr bool IsSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDFFF;
}

class Utf8Writer {
public:
    Utf8Writer(char* dst, int capacity) : m_dst(dst), m_capacity(capacity) {}

    // FALSE when the destination is full, or the count would not fit an int.
    [[nodiscard]] bool PutCodePoint(char32_t codePoint) {
        if (codePoint < 0x80) {
            return Put(1, {static_cast<char>(codePoint)});
        }
        if (codePoint < 0x800) {
            return Put(2, {Byte(0xC0 | (codePoint >> 6)), Continuation(codePoint)});
        }
        if (codePoint < kFirstSupplementary) {
            return Put(3, {Byte(0xE0 | (codePoint >> 12)), Continuation(codePoint >> 6),
                           Continuation(codePoint)});
        }
        return Put(4, {Byte(0xF0 | (codePoint >> 18)), Continuation(codePoint >> 12),
                       Continuation(codePoint >> 6), Continuation(codePoint)});
    }

    // A run of ASCII units, checked for room once.
    [[nodiscard]] bool PutAscii(const char16_t* from, const char16_t* to) {
        const std::int64_t size = to - from;
        if (m_dst != nullptr) {
            if (m_count + size > m_capacity) {
                return false;
            }
            std::transform(from, to, m_dst + m_count,
                           [](char16_t unit) { return static_cast<char>(unit); });
        }
        m_count += size;
        return !CountOverflowed();
    }

    int Count() const { return static_cast<int>(m_count); }
    bool CountOverflowed() const { return m_count > INT_MAX; }

private:
    struct Bytes {
        char b[4];
    };

    static char Byte(char32_t value) { return static_cast<char>(value & 0xFFu); }
    static char Continuation(char32_t value) { return Byte(0x80 | (value & 0x3Fu)); }

    bool Put(int size, Bytes bytes) {
        if (m_dst != nullptr) {
            if (m_count + size > m_capacity) {
                return false;
            }
            for (int i = 0; i < size; ++i) {
                m_dst[m_count + i] = bytes.b[i];
            }
        }
        m_count += size;
        return !CountOverflowed();
    }

    char* m_dst;
    std::int64_t m_capacity;
    std::int64_t m_count = 0;
};

// No room in the destination, or more bytes than an int can count.
ConversionResult Overflow(const Utf8Writer& out) {
    return {0, out.CountOverflowed() ? static_cast<DWORD>(ERROR_INVALID_PARAMETER)
                                     : static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER)};
}

}  // namespace

ConversionResult Utf16ToUtf8(const char16_t* src, std::size_t length, bool strict, char* dst,
                             int capacity) {
    const char16_t* p = src;
    const char16_t* const end = src + length;
    Utf8Writer out(dst, capacity);
    while (p != end) {
        if (*p < 0x80) {
            const char16_t* const run =
                std::find_if(p, end, [](char16_t unit) { return unit >= 0x80; });
            if (!out.PutAscii(p, run)) {
                return Overflow(out);
            }
            p = run;
            continue;
        }
        char32_t codePoint = *p++;
        if (IsHighSurrogate(codePoint) && p != end && IsLowSurrogate(*p)) {
            codePoint = kFirstSupplementary + ((codePoint - 0xD800) << 10) + (*p++ - 0xDC00u);
        } else if (IsSurrogate(codePoint)) {
            if (strict) {
                return {0, ERROR_NO_UNICODE_TRANSLATION};
            }
            codePoint = kReplacement;
        }
        if (!out.PutCodePoint(codePoint)) {
            return Overflow(out);
        }
    }
    return {out.Count(), ERROR_SUCCESS};
}

}  // namespace hvx::os::detail
