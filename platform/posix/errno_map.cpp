#include "platform/posix/errno_map.h"

#include <cerrno>

#include "platform/last_error.h"

namespace hvx::os::detail {

DWORD Win32ErrorFromErrno(int error, DWORD fallback) {
    switch (error) {
        case 0:
            return ERROR_SUCCESS;
        case ENOENT:
            return ERROR_FILE_NOT_FOUND;
        case ENOTDIR:
            return ERROR_PATH_NOT_FOUND;
        case ENOSPC:
        case EDQUOT:
            return ERROR_DISK_FULL;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
            return ERROR_ACCESS_DENIED;
        case EEXIST:
            return ERROR_FILE_EXISTS;
        case EMFILE:
        case ENFILE:
            return ERROR_TOO_MANY_OPEN_FILES;
        case ENAMETOOLONG:
            return ERROR_FILENAME_EXCED_RANGE;
        case EBADF:
            return ERROR_INVALID_HANDLE;
        case ENOMEM:
            return ERROR_NOT_ENOUGH_MEMORY;
        case EINVAL:
            return ERROR_INVALID_PARAMETER;
        case ETXTBSY:
            return ERROR_SHARING_VIOLATION;
        case EPIPE:
            return ERROR_BROKEN_PIPE;
        default:
            return fallback;
    }
}

void SetLastErrorFromErrno(DWORD fallback) {
    SetLastError(Win32ErrorFromErrno(errno, fallback));
}

}  // namespace hvx::os::detail
