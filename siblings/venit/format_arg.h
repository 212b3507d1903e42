// Type-checked printf-style formatting.
//
// Callers keep the printf texts of the agent ("hvx::CHttpCurl::Init res: %d, option: %d"), but
// the arguments travel with their types, so a conversion that does not fit its argument can
// never read the wrong thing: the argument is written in its own natural form instead (a
// number in decimal, text as text, a pointer in hexadecimal) and a missing argument is written
// as "(missing)". Nothing a format string holds can crash the process.
//
// Conversions: %s %hs %ws %ls %S %c %d %i %u %x %X %o %p %e %f %g %%, with flags (- + 0 blank
// #), width and precision (numbers or *), and the length modifiers h hh l ll I64 z j t.
// In a narrow format %s and %hs take narrow text, %ws/%ls/%S wide text; in a wide format %s,
// %ws and %ls take wide text and %hs/%S narrow. Text of the other width is converted, not
// rejected. Integer conversions follow the Windows (LLP64) sizes: no modifier and "l" are 32
// bits, "ll", "I64", "z", "j" and "t" are 64. %p is 16 upper-case hexadecimal digits.
// A null text pointer is written as "(null)".
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "siblings/venit/venit_export.h"

namespace venit {

class FormatArg {
public:
    enum class Kind : std::uint8_t { Signed, Unsigned, Double, Pointer, Narrow, Wide };

    template <std::integral T>
    FormatArg(T value) {  // NOLINT(google-explicit-constructor)
        if constexpr (std::is_signed_v<T>) {
            m_kind = Kind::Signed;
            // A char keeps its sign here; %c reads it back as the byte it holds.
            m_signed = value;  // NOLINT(bugprone-signed-char-misuse,cert-str34-c)
        } else {
            m_kind = Kind::Unsigned;
            m_unsigned = value;
        }
        m_size = sizeof(T);
    }
    template <typename T>
    requires std::is_enum_v<T> FormatArg(T value)  // NOLINT(google-explicit-constructor)
        : FormatArg(static_cast<std::underlying_type_t<T>>(value)) {}
    FormatArg(double value) : m_kind(Kind::Double), m_double(value) {}  // NOLINT
    FormatArg(const char* text)  // NOLINT(google-explicit-constructor)
        : m_kind(Kind::Narrow),
          m_narrow(text),
          m_length(text ? std::char_traits<char>::length(text) : 0) {}
    FormatArg(std::string_view text)  // NOLINT(google-explicit-constructor)
        : m_kind(Kind::Narrow), m_narrow(text.data()), m_length(text.size()) {
        if (m_narrow == nullptr) {
            m_narrow = "";
        }
    }
    FormatArg(const std::string& text)  // NOLINT(google-explicit-constructor)
        : FormatArg(std::string_view(text)) {}
    FormatArg(const char16_t* text)  // NOLINT(google-explicit-constructor)
        : m_kind(Kind::Wide),
          m_wide(text),
          m_length(text ? std::char_traits<char16_t>::length(text) : 0) {}
    FormatArg(std::u16string_view text)  // NOLINT(google-explicit-constructor)
        : m_kind(Kind::Wide), m_wide(text.data()), m_length(text.size()) {
        if (m_wide == nullptr) {
            m_wide = u"";
        }
    }
    FormatArg(const std::u16string& text)  // NOLINT(google-explicit-constructor)
        : FormatArg(std::u16string_view(text)) {}
    FormatArg(std::nullptr_t) : m_kind(Kind::Pointer) {}  // NOLINT(google-explicit-constructor)
    template <typename T>
    requires(!std::is_same_v<std::remove_cv_t<T>, char> &&
             !std::is_same_v<std::remove_cv_t<T>, char16_t>)
        FormatArg(T* pointer)  // NOLINT(google-explicit-constructor)
        : m_kind(Kind::Pointer), m_pointer(reinterpret_cast<const void*>(pointer)) {}

    Kind kind() const { return m_kind; }
    // Integers: the value and the size of the type it came from.
    std::int64_t signedValue() const { return m_signed; }
    std::uint64_t unsignedValue() const { return m_unsigned; }
    std::size_t size() const { return m_size; }
    double doubleValue() const { return m_double; }
    const void* pointer() const { return m_pointer; }
    // Text: null when the caller passed a null pointer.
    const char* narrow() const { return m_narrow; }
    const char16_t* wide() const { return m_wide; }
    std::size_t length() const { return m_length; }

private:
    Kind m_kind = Kind::Signed;
    union {
        std::int64_t m_signed = 0;
        std::uint64_t m_unsigned;
        double m_double;
        const void* m_pointer;
        const char* m_narrow;
        const char16_t* m_wide;
    };
    std::size_t m_size = 0;
    std::size_t m_length = 0;
};

using FormatArgs = std::span<const FormatArg>;

// Formats a narrow format into UTF-8 text.
VENIT_API std::string Format(std::string_view format, FormatArgs args);
// Formats a wide format into UTF-16 text.
VENIT_API std::u16string Format(std::u16string_view format, FormatArgs args);

}  // namespace venit
