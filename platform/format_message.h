// Message texts with the semantics of FormatMessageW, for the one form the code base uses: the
// system allocates the buffer and inserts are not expanded. The flags must hold
// FORMAT_MESSAGE_ALLOCATE_BUFFER and FORMAT_MESSAGE_IGNORE_INSERTS and one or both of
// FORMAT_MESSAGE_FROM_HMODULE (the module's message table; looked at first) and
// FORMAT_MESSAGE_FROM_SYSTEM (the system's texts of Win32 error numbers); anything else fails
// with ERROR_INVALID_PARAMETER.
//
// The text is handed back exactly as the table holds it, line end included, up to its first
// zero. On POSIX the system texts are the library's own English wording, one for each Win32
// error number the platform layer reports, each ending in CR LF as on Windows; they are found
// for a neutral language or any English one.
//
// Failures return 0 and set the last error: those of resources.h for the module's table,
// ERROR_MR_MID_NOT_FOUND when the table (or the system) has no text for the number,
// ERROR_NOT_ENOUGH_MEMORY when the buffer cannot be allocated.
#pragma once

#include <memory>

#include "platform/base_types.h"

#if !defined(_WIN32)
// NOLINTBEGIN(cppcoreguidelines-macro-usage)
#define FORMAT_MESSAGE_ALLOCATE_BUFFER 0x00000100u
#define FORMAT_MESSAGE_IGNORE_INSERTS 0x00000200u
#define FORMAT_MESSAGE_FROM_STRING 0x00000400u
#define FORMAT_MESSAGE_FROM_HMODULE 0x00000800u
#define FORMAT_MESSAGE_FROM_SYSTEM 0x00001000u
#define FORMAT_MESSAGE_ARGUMENT_ARRAY 0x00002000u
#define FORMAT_MESSAGE_MAX_WIDTH_MASK 0x000000FFu
// NOLINTEND(cppcoreguidelines-macro-usage)
#endif

namespace hvx::os {

// The length of the text in UTF-16 units (without its terminating zero), with the
// zero-terminated text in *buffer; 0 on failure, *buffer null. The caller frees the text with
// LocalFree.
DWORD FormatMessageW(DWORD flags, HMODULE module, DWORD messageId, DWORD languageId,
                     char16_t** buffer);

// Frees a buffer that FormatMessageW allocated; accepts null. Returns null.
void* LocalFree(void* memory);

struct LocalFreeDeleter {
    void operator()(char16_t* memory) const { LocalFree(memory); }
};
// Owns a text from FormatMessageW.
using LocalText = std::unique_ptr<char16_t, LocalFreeDeleter>;

}  // namespace hvx::os
