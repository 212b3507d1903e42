// Strict UTF-8 <-> UTF-16 conversion: invalid text (a lone surrogate, a malformed UTF-8
// sequence) gives nothing instead of a replacement character, so no value is silently altered.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tolva {

std::optional<std::u16string> Utf8ToUtf16(std::string_view text);
std::optional<std::string> Utf16ToUtf8(std::u16string_view text);
bool IsValidUtf8(std::string_view text);

}  // namespace tolva
