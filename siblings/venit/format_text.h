// The text and character conversions of the formatter, in the width of the output.
#pragma once

#include <string>
#include <string_view>

#include "siblings/venit/format_arg.h"

namespace venit::detail {

// What a null text pointer is written as.
inline constexpr std::string_view kNullText = "(null)";

// Text of either width, shortened to `precision` units of its own width (never inside a
// character; -1 for no limit) and converted to the output's width. A null pointer is "(null)".
void AppendText(std::string& out, const FormatArg& text, int precision);
void AppendText(std::u16string& out, const FormatArg& text, int precision);

// An integer argument as a Unicode character; a value that is no character gives U+FFFD.
void AppendCharacter(std::string& out, const FormatArg& value);
void AppendCharacter(std::u16string& out, const FormatArg& value);

}  // namespace venit::detail
