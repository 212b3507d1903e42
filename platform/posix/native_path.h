// UTF-16 paths to and from the UTF-8 bytes the POSIX calls take.
#pragma once

#include <string>
#include <string_view>

#include "platform/base_types.h"

namespace hvx::os::detail {

// FALSE with the last error set (ERROR_INVALID_PARAMETER for null or empty text,
// ERROR_INVALID_NAME for a lone surrogate, which no file name can hold here).
[[nodiscard]] bool ToNativePath(const char16_t* path, std::string& native);

// Empty when the bytes are not UTF-8.
std::u16string FromNativePath(std::string_view native);

// ERROR_PATH_NOT_FOUND when the folder that would hold `native` does not exist, else
// ERROR_FILE_NOT_FOUND: what a Win32 caller expects for a missing file.
[[nodiscard]] DWORD MissingFileError(const std::string& native);

}  // namespace hvx::os::detail
