// The parts of FormatMessageW that both systems share: which flags are supported, and the
// message of a module that exports its resources as a table.
#pragma once

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

}  // namespace hvx::os::detail
