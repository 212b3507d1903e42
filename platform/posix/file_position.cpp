// SetFilePointerEx and GetFileSizeEx on lseek(2) and fstat(2) (platform/file_position.h).
#include "platform/file_position.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "platform/last_error.h"
#include "platform/posix/errno_map.h"
#include "platform/posix/fd_handle.h"

namespace hvx::os {

namespace {

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

}  // namespace

BOOL SetFilePointerEx(HANDLE file, std::int64_t distance, std::int64_t* position, DWORD method) {
    constexpr std::array<int, 3> kWhence = {SEEK_SET, SEEK_CUR, SEEK_END};
    const int fd = detail::FdFromHandle(file);
    if (fd < 0) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    if (method >= kWhence.size()) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    const off_t moved = ::lseek(fd, static_cast<off_t>(distance), kWhence.at(method));
    if (moved < 0) {
        return Fail(errno == EINVAL ? static_cast<DWORD>(ERROR_NEGATIVE_SEEK)
                                    : detail::Win32ErrorFromErrno(errno, ERROR_INVALID_HANDLE));
    }
    if (position != nullptr) {
        *position = moved;
    }
    return TRUE;
}

BOOL GetFileSizeEx(HANDLE file, std::int64_t* size) {
    const int fd = detail::FdFromHandle(file);
    struct stat facts {};
    if (fd < 0 || size == nullptr) {
        return Fail(fd < 0 ? ERROR_INVALID_HANDLE : ERROR_INVALID_PARAMETER);
    }
    if (::fstat(fd, &facts) != 0) {
        return Fail(detail::Win32ErrorFromErrno(errno, ERROR_INVALID_HANDLE));
    }
    *size = facts.st_size;
    return TRUE;
}

}  // namespace hvx::os
