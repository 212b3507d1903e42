// venit's Util:: helpers: checked arithmetic and allocation, text conversion and formatting.
//
// Memory from SafeMalloc, SafeCalloc, ConvertWCHARToString, ConvertStringToWCHAR and aswprintf
// is released with FreeMem.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "siblings/venit/format_arg.h"
#include "siblings/venit/venit_export.h"

namespace Util {

// Null for a size of 0 or when the allocation fails.
VENIT_API void* SafeMalloc(std::size_t size);
// Zeroed; null when count * size overflows, is 0, or the allocation fails.
VENIT_API void* SafeCalloc(std::size_t count, std::size_t size);
// true and the product / sum in `result`; false (result untouched) on overflow.
[[nodiscard]] VENIT_API bool SafeMul(std::size_t a, std::size_t b, std::size_t& result);
[[nodiscard]] VENIT_API bool SafeAdd(std::size_t a, std::size_t b, std::size_t& result);
// Accepts null.
VENIT_API void FreeMem(void* memory);

// An owner for memory from the functions above: Util::UniqueMem<char16_t> text(...).
struct FreeMemDeleter {
    void operator()(void* memory) const { FreeMem(memory); }
};
template <typename T>
using UniqueMem = std::unique_ptr<T, FreeMemDeleter>;

// UTF-16 -> UTF-8 and back, zero-terminated; null for a null input or invalid text.
VENIT_API char* ConvertWCHARToString(const char16_t* text);
VENIT_API char16_t* ConvertStringToWCHAR(const char* text);

VENIT_API int AswprintfFormatted(char16_t** out, const char16_t* format, venit::FormatArgs args);

// Allocates and formats wide text into *out (null on failure). Returns the length in
// characters, or -1.
template <typename... A>
int aswprintf(char16_t** out, const char16_t* format, const A&... args) {
    const std::array<venit::FormatArg, sizeof...(A)> packed{venit::FormatArg(args)...};
    return AswprintfFormatted(out, format, packed);
}

}  // namespace Util
