// The numeric conversions of the formatter, written as ASCII text.
#pragma once

#include <cstdint>
#include <string>

#include "siblings/venit/format_arg.h"
#include "siblings/venit/format_directive.h"

namespace venit::detail {

// d i u o x X of an integer argument, cut to the size the length modifier names; sign,
// "0x" prefix, precision and zero padding to the directive's width included.
std::string FormatInteger(const Directive& directive, const FormatArg& arg);

// e E f F g G; sign and zero padding to the directive's width included.
std::string FormatFloat(const Directive& directive, double value);

// A pointer: 16 upper-case hexadecimal digits.
std::string FormatPointer(std::uint64_t value);

// The form a number or pointer takes under a conversion that does not fit it: integers in
// decimal, doubles in their shortest exact form, pointers as by FormatPointer.
std::string FormatNaturalNumber(const FormatArg& arg);

// An integer or pointer argument as 64 raw bits (signed values sign-extended).
std::uint64_t RawBits(const FormatArg& arg);

// "-" for a negative value, else "+" or " " as the flags ask.
std::string SignPrefix(bool negative, const Directive& directive);
// Zeros between the sign or prefix and the digits, up to the width; the '-' flag turns them off.
void ZeroPad(std::string& digits, std::size_t prefixLength, const Directive& directive);

}  // namespace venit::detail
