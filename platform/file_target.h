// Files written in full or not at all. The content goes to a new file beside the target, which
// takes the target's name (MoveFileExW with MOVEFILE_REPLACE_EXISTING) only once it is complete,
// so whoever opens the target, and whatever kills the writer, finds the old file or the whole
// new one. Nothing is ever written through the target's name: a link there is not followed, and
// a pipe or device there is never opened, so nothing can block on it.
//
// The file beside the target is named "<name>.caspo-<16 hex digits>.part", <name> being the
// target's last path component cut to at most kBesideNameKeep UTF-16 units. A writer killed
// before the rename leaves at most that file behind; a search for "*.caspo-*.part" finds it.
#pragma once

#include <cstddef>
#include <string>

#include "platform/base_types.h"

namespace hvx::os {

inline constexpr std::size_t kBesideNameKeep = 64;

// What is at the target, also set as the last error: ERROR_SUCCESS for a regular file and
// ERROR_FILE_NOT_FOUND for nothing, the two that may be replaced. Otherwise the reason why not:
//   ERROR_CANT_ACCESS_FILE         a symbolic link (on Windows any reparse point), even a
//                                  dangling one;
//   ERROR_BAD_FILE_TYPE            a pipe, socket or device;
//   ERROR_DIRECTORY_NOT_SUPPORTED  a folder;
//   ERROR_PATH_NOT_FOUND           a folder on the way is missing; other errors of the look-up.
// Only the last component is looked at: links among the folders of the path are followed.
DWORD CheckFileTarget(const char16_t* target);

// Creates a new, empty file beside `target` (same folder, name as above) for writing, without
// sharing, readable and writable only by the current user (POSIX mode 0600; on Windows a protected
// access list that grants the token's user alone). The name is new: an existing name, link or not,
// is never opened. `besidePath` receives the name. INVALID_HANDLE_VALUE with the last error on
// failure (ERROR_PATH_NOT_FOUND for a missing folder, ERROR_ACCESS_DENIED, ...).
HANDLE CreateFileBeside(const char16_t* target, std::u16string& besidePath);

}  // namespace hvx::os
