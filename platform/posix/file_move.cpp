// MoveFileExW on rename(2), or renameat2(RENAME_NOREPLACE) when nothing may be replaced;
// FlushFileBuffers on fsync(2).
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "platform/file.h"
#include "platform/last_error.h"
#include "platform/posix/errno_map.h"
#include "platform/posix/fd_handle.h"
#include "platform/posix/native_path.h"

namespace hvx::os {

namespace {

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

int Rename(const std::string& from, const std::string& to, bool replace) {
    if (replace) {
        return ::rename(from.c_str(), to.c_str());
    }
    return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
}

}  // namespace

BOOL FlushFileBuffers(HANDLE file) {
    const int fd = detail::FdFromHandle(file);
    if (fd < 0) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    int result = 0;
    do {
        result = ::fsync(fd);
    } while (result != 0 && errno == EINTR);
    return result == 0 ? TRUE : Fail(detail::Win32ErrorFromErrno(errno, ERROR_WRITE_FAULT));
}

BOOL MoveFileExW(const char16_t* from, const char16_t* to, DWORD flags) {
    if ((flags & ~static_cast<DWORD>(MOVEFILE_REPLACE_EXISTING)) != 0) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    std::string nativeFrom;
    std::string nativeTo;
    if (!detail::ToNativePath(from, nativeFrom) || !detail::ToNativePath(to, nativeTo)) {
        return FALSE;
    }
    if (Rename(nativeFrom, nativeTo, (flags & MOVEFILE_REPLACE_EXISTING) != 0) == 0) {
        return TRUE;
    }
    switch (errno) {
        case ENOENT:
            // The file to move, or the folder of the new name, is missing.
            return Fail(::access(nativeFrom.c_str(), F_OK) == 0
                            ? static_cast<DWORD>(ERROR_PATH_NOT_FOUND)
                            : detail::MissingFileError(nativeFrom));
        case EEXIST:
            return Fail(ERROR_ALREADY_EXISTS);
        case EXDEV:
            return Fail(ERROR_NOT_SAME_DEVICE);
        default:
            return Fail(detail::Win32ErrorFromErrno(errno, ERROR_ACCESS_DENIED));
    }
}

}  // namespace hvx::os
