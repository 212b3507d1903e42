// Reading a message table in its Windows binary layout (resource_layout.h describes it).
#pragma once

#include <string>

#include "platform/base_types.h"
#include "platform/resources.h"

namespace hvx::os::detail {

// The text of message `id`, up to its first zero: ERROR_SUCCESS, or ERROR_MR_MID_NOT_FOUND when
// the table holds no such message, its text is empty or not UTF-16 (the layouts this code base
// writes are always UTF-16), or the bytes end before the message does.
[[nodiscard]] DWORD FindMessageText(const ResourceData& table, DWORD id, std::u16string& text);

}  // namespace hvx::os::detail
