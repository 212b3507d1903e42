// ReadFile, WriteFile, CloseHandle, DeleteFileW and CreatePrivateFile on read(2), write(2),
// close(2), unlink(2) and open(2).
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
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

// read(2) and write(2) say EBADF both for a closed descriptor and for one opened without the
// needed access; Win32 tells the second apart as ERROR_ACCESS_DENIED.
DWORD TransferError(int fd, int error, DWORD fallback) {
    if (error == EBADF && ::fcntl(fd, F_GETFD) != -1) {
        return ERROR_ACCESS_DENIED;
    }
    return detail::Win32ErrorFromErrno(error, fallback);
}

}  // namespace

BOOL WriteFile(HANDLE file, const void* data, DWORD size, DWORD* written) {
    if (written != nullptr) {
        *written = 0;
    }
    const int fd = detail::FdFromHandle(file);
    if (fd < 0) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    if (data == nullptr && size > 0) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    const auto* bytes = static_cast<const unsigned char*>(data);
    DWORD done = 0;
    while (done < size) {
        const ssize_t count = ::write(fd, bytes + done, size - done);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return Fail(count < 0 ? TransferError(fd, errno, ERROR_WRITE_FAULT)
                                  : ERROR_WRITE_FAULT);
        }
        done += static_cast<DWORD>(count);
        if (written != nullptr) {
            *written = done;
        }
    }
    return TRUE;
}

BOOL ReadFile(HANDLE file, void* data, DWORD size, DWORD* read) {
    if (read != nullptr) {
        *read = 0;
    }
    const int fd = detail::FdFromHandle(file);
    if (fd < 0) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    if (data == nullptr && size > 0) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    ssize_t count = 0;
    do {
        count = ::read(fd, data, size);
    } while (count < 0 && errno == EINTR);
    if (count < 0) {
        return Fail(TransferError(fd, errno, ERROR_READ_FAULT));
    }
    if (read != nullptr) {
        *read = static_cast<DWORD>(count);
    }
    return TRUE;
}

BOOL CloseHandle(HANDLE handle) {
    const int fd = detail::FdFromHandle(handle);
    if (fd < 0) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    // After EINTR the descriptor is released all the same on Linux; only EBADF is a failure.
    if (::close(fd) != 0 && errno == EBADF) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    return TRUE;
}

BOOL DeleteFileW(const char16_t* path) {
    std::string native;
    if (!detail::ToNativePath(path, native)) {
        return FALSE;
    }
    if (::unlink(native.c_str()) == 0) {
        return TRUE;
    }
    if (errno == ENOENT) {
        return Fail(detail::MissingFileError(native));
    }
    return Fail(detail::Win32ErrorFromErrno(errno, ERROR_ACCESS_DENIED));
}

BOOL CreatePrivateFile(const char16_t* path) {
    constexpr mode_t kOwnerReadWrite = 0600;
    std::string native;
    if (!detail::ToNativePath(path, native)) {
        return FALSE;
    }
    const int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kOwnerReadWrite);
    if (fd >= 0) {
        ::close(fd);
        return TRUE;
    }
    if (errno == EEXIST) {
        return TRUE;
    }
    // Creating, ENOENT can only mean a missing folder.
    return Fail(errno == ENOENT ? ERROR_PATH_NOT_FOUND
                                : detail::Win32ErrorFromErrno(errno, ERROR_ACCESS_DENIED));
}

}  // namespace hvx::os
