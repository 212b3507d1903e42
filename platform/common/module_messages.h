// The parts of FormatMessageW that both systems share: which flags are supported, the message
// of a module that exports its resources as a table, and the hand-over of the text found.
#pragma once

#include <cstddef>
#include <string>

#include "platform/base_types.h"
#include "platform/format_message.h"

namespace hvx::os::detail {

// ALLOCATE_BUFFER and IGNORE_INSERTS, one or both sources, nothing else.
[[nodiscard]] bool IsSupportedMessageFlags(DWORD flags);

// The text of message `id` in the module's exported message table: ERROR_SUCCESS, or the
// error that FormatMessageW reports (see format_message.h).
[[nodiscard]] DWORD FindModuleMessage(HMODULE module, DWORD id, DWORD language,
                                      std::u16string& text);

// Copies the text, zero-terminated, into memory from `allocate` (the system's allocator that
// LocalFree releases) and hands it to the caller through `buffer`: the text's length in
// characters, or 0 with ERROR_NOT_ENOUGH_MEMORY as the last error.
[[nodiscard]] DWORD HandOverMessage(const std::u16string& text, void* (*allocate)(std::size_t),
                                    char16_t** buffer);

}  // namespace hvx::os::detail
