#include "siblings/venit/format_number.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

#include <fmt/format.h>

namespace venit::detail {
namespace {

unsigned BitsOf(IntSize size) {
    switch (size) {
        case IntSize::Char:
            return 8;
        case IntSize::Short:
            return 16;
        case IntSize::Long64:
            return 64;
        case IntSize::Default:
            break;
    }
    return 32;
}

std::uint64_t MaskOf(unsigned bits) {
    return bits >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << bits) - 1;
}

template <typename T>
std::string ToChars(T value, int base = 10) {
    std::array<char, 72> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, base);
    return {buffer.data(), result.ptr};
}

int BaseOf(Conversion conversion) {
    switch (conversion) {
        case Conversion::Octal:
            return 8;
        case Conversion::Hex:
        case Conversion::HexUpper:
            return 16;
        default:
            return 10;
    }
}

// The digits of the magnitude with the precision's minimum count and the '#' octal zero.
std::string IntegerDigits(std::uint64_t magnitude, const Directive& directive) {
    std::string digits = ToChars(magnitude, BaseOf(directive.conversion));
    if (directive.conversion == Conversion::HexUpper) {
        std::transform(digits.begin(), digits.end(), digits.begin(),
                       [](char c) { return static_cast<char>(std::toupper(c)); });
    }
    const int precision = std::min(directive.precision, kMaxField);
    if (precision == 0 && magnitude == 0) {
        digits.clear();
    }
    if (precision > 0 && digits.size() < static_cast<std::size_t>(precision)) {
        digits.insert(0, static_cast<std::size_t>(precision) - digits.size(), '0');
    }
    if (directive.conversion == Conversion::Octal && directive.alternate &&
        (digits.empty() || digits.front() != '0')) {
        digits.insert(0, "0");
    }
    return digits;
}

}  // namespace

std::string SignPrefix(bool negative, const Directive& directive) {
    if (negative) {
        return "-";
    }
    if (directive.plusSign) {
        return "+";
    }
    return directive.blankSign ? " " : "";
}

void ZeroPad(std::string& digits, std::size_t prefixLength, const Directive& directive) {
    const std::size_t used = prefixLength + digits.size();
    if (directive.zeroPad && !directive.leftAlign &&
        used < static_cast<std::size_t>(directive.width)) {
        digits.insert(0, static_cast<std::size_t>(directive.width) - used, '0');
    }
}

std::uint64_t RawBits(const FormatArg& arg) {
    switch (arg.kind()) {
        case FormatArg::Kind::Signed:
            return static_cast<std::uint64_t>(arg.signedValue());
        case FormatArg::Kind::Unsigned:
            return arg.unsignedValue();
        case FormatArg::Kind::Pointer:
            return reinterpret_cast<std::uintptr_t>(arg.pointer());
        default:
            return 0;
    }
}

std::string FormatInteger(const Directive& directive, const FormatArg& arg) {
    const unsigned bits = BitsOf(directive.intSize);
    const std::uint64_t value = RawBits(arg) & MaskOf(bits);
    const bool negative =
        directive.conversion == Conversion::Signed && ((value >> (bits - 1)) & 1U);
    const std::uint64_t magnitude = negative ? ((~value + 1) & MaskOf(bits)) : value;

    std::string prefix;
    if (directive.conversion == Conversion::Signed) {
        prefix = SignPrefix(negative, directive);
    } else if (directive.alternate && magnitude != 0 && BaseOf(directive.conversion) == 16) {
        prefix = directive.conversion == Conversion::HexUpper ? "0X" : "0x";
    }
    std::string digits = IntegerDigits(magnitude, directive);
    if (directive.precision < 0) {
        ZeroPad(digits, prefix.size(), directive);
    }
    return prefix + digits;
}

std::string FormatPointer(std::uint64_t value) {
    return fmt::format("{:016X}", value);
}

std::string FormatNaturalNumber(const FormatArg& arg) {
    switch (arg.kind()) {
        case FormatArg::Kind::Signed:
            return ToChars(arg.signedValue());
        case FormatArg::Kind::Unsigned:
            return ToChars(arg.unsignedValue());
        case FormatArg::Kind::Double: {
            std::array<char, 64> buffer{};
            const auto result =
                std::to_chars(buffer.data(), buffer.data() + buffer.size(), arg.doubleValue());
            return {buffer.data(), result.ptr};
        }
        default:
            return FormatPointer(RawBits(arg));
    }
}

}  // namespace venit::detail
