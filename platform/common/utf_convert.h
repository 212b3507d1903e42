// The UTF-8 / UTF-16 converters behind MultiByteToWideChar and WideCharToMultiByte. The
// arguments are already checked: `length` units are read from `src`, and a null `dst` asks for
// the length only.
#pragma once

#include <cstddef>

#include "platform/base_types.h"

namespace hvx::os::detail {

struct ConversionResult {
    int count;    // units written, or needed when no destination was given
    DWORD error;  // ERROR_SUCCESS, or why nothing usable was written
};

// `strict`: invalid UTF-8 fails with ERROR_NO_UNICODE_TRANSLATION instead of becoming U+FFFD
// (one per maximal ill-formed subsequence). `length` is at most INT_MAX.
[[nodiscard]] ConversionResult Utf8ToUtf16(const char* src, std::size_t length, bool strict,
                                           char16_t* dst, int capacity);

// `strict`: a lone surrogate fails with ERROR_NO_UNICODE_TRANSLATION instead of becoming U+FFFD.
[[nodiscard]] ConversionResult Utf16ToUtf8(const char16_t* src, std::size_t length, bool strict,
                                           char* dst, int capacity);

}  // namespace hvx::os::detail
