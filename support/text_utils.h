// Conversions between the library's wide (UTF-16) text and UTF-8, percent-encoding, and the
// URL and GUID validators. Stateless; the conversions report only through their results.
#pragma once

#include <string>

#include "platform/base_types.h"

namespace hvx {

// 0; E_INVALIDARG (output untouched) when the text is not valid UTF-8. Text after an embedded
// zero byte is dropped.
[[nodiscard]] HRESULT Utf8ToWide(const std::string& utf8, std::u16string& wide);
// 0; HVX_E_UTF8_LENGTH when the length query fails, HVX_E_GENERAL when the conversion fails
// (output untouched in both cases). A lone surrogate is written as U+FFFD.
[[nodiscard]] HRESULT WideToUtf8(const std::u16string& wide, std::string& utf8);
// UTF-8 bytes with A-Z, a-z and 0-9 kept and every other byte written as "%XX".
[[nodiscard]] HRESULT UrlEncode(const std::u16string& text, std::string& encoded);
// UrlEncode, as wide text.
[[nodiscard]] HRESULT UrlEncodeW(const std::u16string& text, std::u16string& encoded);
// The validators (validators.cpp) run in one pass with ASCII letter classes, for any length.
// http or https (any letter case), "://", a host that starts with a letter or digit and runs on
// in letters, digits and "-_:./" to a slash, then anything but a line end.
bool IsValidUrl(const std::u16string& url);
// Five groups of 8, 4, 4, 4 and 12 hexadecimal digits joined by hyphens, nothing else.
bool IsValidGuid(const std::u16string& guid);

}  // namespace hvx
