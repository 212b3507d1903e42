// The system's texts of Win32 error numbers, for FormatMessageW's FROM_SYSTEM on POSIX.
#pragma once

#include <string_view>

#include "platform/base_types.h"

namespace hvx::os::detail {

// The English text of the error number, ending in CR LF; empty when there is none.
[[nodiscard]] std::u16string_view SystemMessageText(DWORD error);

}  // namespace hvx::os::detail
