// Lenient UTF-8 / UTF-16 conversion for log texts: whatever a caller hands in, something
// readable comes out. An invalid sequence becomes U+FFFD instead of failing the record.
#pragma once

#include <string>
#include <string_view>

namespace venit::detail {

void AppendUtf8AsUtf16(std::u16string& out, std::string_view text);
void AppendUtf16AsUtf8(std::string& out, std::u16string_view text);

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

// The longest prefix of at most `limit` units that does not end inside a UTF-8 sequence or
// between the two halves of a surrogate pair.
std::size_t PrefixAtBoundary(std::string_view text, std::size_t limit);
std::size_t PrefixAtBoundary(std::u16string_view text, std::size_t limit);

}  // namespace venit::detail
