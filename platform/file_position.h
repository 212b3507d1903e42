// The position and size of an open file, with the semantics of SetFilePointerEx and
// GetFileSizeEx. Uploads read a file from its handle's current position to its end; knowing how
// much is left lets the reader size its copy once. Failures return FALSE and set the last error
// (ERROR_INVALID_HANDLE for a handle that is not an open file, ERROR_NEGATIVE_SEEK for a
// position before the start).
#pragma once

#include <cstdint>

#include "platform/base_types.h"

#if !defined(_WIN32)
#define FILE_BEGIN 0u             // NOLINT(cppcoreguidelines-macro-usage)
#define FILE_CURRENT 1u           // NOLINT(cppcoreguidelines-macro-usage)
#define FILE_END 2u               // NOLINT(cppcoreguidelines-macro-usage)
#define ERROR_NEGATIVE_SEEK 131L  // NOLINT(cppcoreguidelines-macro-usage)
#endif

namespace hvx::os {

// Moves the position by `distance` from FILE_BEGIN, FILE_CURRENT or FILE_END; `position` (may be
// null) receives the new position.
BOOL SetFilePointerEx(HANDLE file, std::int64_t distance, std::int64_t* position, DWORD method);

// The size of the file in bytes.
BOOL GetFileSizeEx(HANDLE file, std::int64_t* size);

// The bytes from the current position to the end of the file; 0 when they cannot be told (a
// pipe, a bad handle) or the position is at or past the end.
std::uint64_t RemainingBytes(HANDLE file);

}  // namespace hvx::os
