#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

#include "siblings/venit/format_number.h"

namespace venit::detail {
namespace {

// Room for the integer part of the largest double plus the longest fraction a field may ask.
constexpr std::size_t kFloatBufferSize = 512 + kMaxField;
constexpr int kDefaultPrecision = 6;
// %g writes the exponent form for exponents below this one.
constexpr int kLowestFixedExponent = -4;

std::string ToChars(double magnitude, std::chars_format form, int precision) {
    std::string buffer(kFloatBufferSize, '\0');
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude, form, precision);
    buffer.resize(static_cast<std::size_t>(result.ptr - buffer.data()));
    return buffer;
}

// The decimal exponent the value has when written with `precision` fraction digits in the
// exponent form (rounding may carry it up).
int DecimalExponent(double magnitude, int precision) {
    const std::string text = ToChars(magnitude, std::chars_format::scientific, precision);
    const std::size_t e = text.find('e');
    std::size_t digits = e + 1;
    if (digits < text.size() && text[digits] == '+') {
        ++digits;
    }
    int exponent = 0;
    std::from_chars(text.data() + digits, text.data() + text.size(), exponent);
    return exponent;
}

std::size_t MantissaEnd(const std::string& text) {
    const std::size_t e = text.find('e');
    return e == std::string::npos ? text.size() : e;
}

void StripTrailingZeros(std::string& text) {
    const std::size_t end = MantissaEnd(text);
    if (text.find('.') >= end) {
        return;
    }
    std::size_t keep = end;
    while (text[keep - 1] == '0') {
        --keep;
    }
    if (text[keep - 1] == '.') {
        --keep;
    }
    text.erase(keep, end - keep);
}

void EnsureDecimalPoint(std::string& text) {
    const std::size_t end = MantissaEnd(text);
    if (text.find('.') >= end) {
        text.insert(end, ".");
    }
}

// %g: the fixed form when the exponent is from -4 to below the precision, else the exponent
// form; trailing zeros go unless '#' keeps them.
std::string GeneralForm(double magnitude, int precision, bool alternate) {
    const int significant = precision == 0 ? 1 : precision;
    const int exponent = magnitude == 0 ? 0 : DecimalExponent(magnitude, significant - 1);
    std::string text =
        exponent < significant && exponent >= kLowestFixedExponent
            ? ToChars(magnitude, std::chars_format::fixed, significant - 1 - exponent)
            : ToChars(magnitude, std::chars_format::scientific, significant - 1);
    if (alternate) {
        EnsureDecimalPoint(text);
    } else {
        StripTrailingZeros(text);
    }
    return text;
}

std::string FiniteBody(double magnitude, char form, int precision, bool alternate) {
    if (form == 'g') {
        return GeneralForm(magnitude, precision, alternate);
    }
    std::string text =
        ToChars(magnitude, form == 'e' ? std::chars_format::scientific : std::chars_format::fixed,
                precision);
    if (alternate) {
        EnsureDecimalPoint(text);
    }
    return text;
}

}  // namespace

std::string FormatFloat(const Directive& directive, double value) {
    const auto letter = static_cast<unsigned char>(directive.letter);
    const char form = static_cast<char>(std::tolower(letter));
    const int precision =
        directive.precision < 0 ? kDefaultPrecision : std::min(directive.precision, kMaxField);
    const std::string sign = SignPrefix(std::signbit(value), directive);

    std::string body;
    if (std::isnan(value)) {
        body = "nan";
    } else if (std::isinf(value)) {
        body = "inf";
    } else {
        body = FiniteBody(std::fabs(value), form, precision, directive.alternate);
        ZeroPad(body, sign.size(), directive);
    }
    if (std::isupper(letter) != 0) {
        std::transform(body.begin(), body.end(), body.begin(),
                       [](char c) { return static_cast<char>(std::toupper(c)); });
    }
    return sign + body;
}

}  // namespace venit::detail
