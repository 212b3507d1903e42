// The one translation of errno values into Win32 error numbers.
#pragma once

#include "platform/base_types.h"

namespace hvx::os::detail {

// The Win32 error for `error`. ENOENT gives ERROR_FILE_NOT_FOUND; callers that know the folder
// is missing say ERROR_PATH_NOT_FOUND themselves. Values without a counterpart give `fallback`.
[[nodiscard]] DWORD Win32ErrorFromErrno(int error, DWORD fallback);

// Sets the thread's last error from errno.
void SetLastErrorFromErrno(DWORD fallback);

}  // namespace hvx::os::detail
