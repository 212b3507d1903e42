// Files with the semantics of CreateFileW / ReadFile / WriteFile / DeleteFileW / CloseHandle.
// Paths are UTF-16. Failures return INVALID_HANDLE_VALUE or FALSE and set the last error to a
// Win32 error number (ERROR_PATH_NOT_FOUND for a missing folder, ERROR_ACCESS_DENIED,
// ERROR_DISK_FULL, ERROR_SHARING_VIOLATION, ...).
//
// A share mode of 0 opens the file exclusively: while the handle is open, another open of the
// same file through this layer fails with ERROR_SHARING_VIOLATION, and the holder's content is
// left as it was. On POSIX this is an advisory lock that only this layer's opens honour.
//
// CREATE_ALWAYS and OPEN_ALWAYS on an existing file succeed with the last error set to
// ERROR_ALREADY_EXISTS (else ERROR_SUCCESS), as on Windows.
#pragma once

#include <string>

#include "platform/base_types.h"

namespace hvx::os {

// access: GENERIC_READ and/or GENERIC_WRITE; disposition: CREATE_NEW, CREATE_ALWAYS,
// OPEN_EXISTING, OPEN_ALWAYS or TRUNCATE_EXISTING; attributes: FILE_ATTRIBUTE_NORMAL.
HANDLE CreateFileW(const char16_t* path, DWORD access, DWORD share, DWORD disposition,
                   DWORD attributes);

// Writes all `size` bytes or fails; `written` (may be null) receives the count written.
BOOL WriteFile(HANDLE file, const void* data, DWORD size, DWORD* written);

// Reads up to `size` bytes; `read` receives the count, 0 at the end of the file.
BOOL ReadFile(HANDLE file, void* data, DWORD size, DWORD* read);

BOOL DeleteFileW(const char16_t* path);

// Writes the file's data through to the disk (fsync on POSIX).
BOOL FlushFileBuffers(HANDLE file);

// Gives the file `from` the name `to` in one step; whoever opens `to` finds the old file or the
// new one, never neither. flags: 0, or MOVEFILE_REPLACE_EXISTING; without it an existing `to`
// fails with ERROR_ALREADY_EXISTS.
// A link at `to` is replaced itself, never followed; a folder at `to` is not replaced
// (ERROR_ACCESS_DENIED). Both names must be on the same volume.
BOOL MoveFileExW(const char16_t* from, const char16_t* to, DWORD flags);

BOOL CloseHandle(HANDLE handle);

// Creates an empty file that only the current user can read and write (POSIX mode 0600; on
// Windows the file takes the access list of its folder in the user's profile). An existing file is
// left exactly as it is. TRUE when the file exists afterwards. For files that may hold secrets,
// created before a library that would use the default mode opens them.
BOOL CreatePrivateFile(const char16_t* path);

// The current user's folder for application data, without a trailing separator:
// $XDG_DATA_HOME or ~/.local/share on POSIX, %LOCALAPPDATA% on Windows. Empty when unknown.
std::u16string GetUserDataDirectory();

// Creates the folder and every missing parent. TRUE when the folder exists afterwards.
BOOL CreateDirectoryTree(const char16_t* path);

}  // namespace hvx::os
