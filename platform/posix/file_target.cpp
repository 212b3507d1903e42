// CheckFileTarget on lstat(2), which looks at the name without opening anything (opening a
// device can start it, opening a pipe can block); CreateFileBeside on
// open(O_CREAT | O_EXCL | O_NOFOLLOW) with mode 0600 and an exclusive flock, as CreateFileW
// takes for share mode 0.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <string>

#include "platform/common/beside_name.h"
#include "platform/file_target.h"
#include "platform/last_error.h"
#include "platform/posix/errno_map.h"
#include "platform/posix/fd_handle.h"
#include "platform/posix/native_path.h"
#include "platform/posix/unique_fd.h"

namespace hvx::os {

namespace {

using detail::UniqueFd;

constexpr mode_t kOwnerReadWrite = 0600;
constexpr int kBesideFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY;
// A name that exists already is drawn again; this many clashes in a row mean something else.
constexpr int kNameAttempts = 16;

DWORD Result(DWORD error) {
    SetLastError(error);
    return error;
}

HANDLE FailOpen(DWORD error) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

DWORD KindError(mode_t mode) {
    if (S_ISREG(mode)) {
        return ERROR_SUCCESS;
    }
    if (S_ISLNK(mode)) {
        return ERROR_CANT_ACCESS_FILE;
    }
    return S_ISDIR(mode) ? static_cast<DWORD>(ERROR_DIRECTORY_NOT_SUPPORTED)
                         : static_cast<DWORD>(ERROR_BAD_FILE_TYPE);
}

// Random where the system gives randomness; a name that is taken is drawn again in any case.
std::uint64_t RandomTag() {
    std::uint64_t tag = 0;
    if (::getrandom(&tag, sizeof(tag), GRND_NONBLOCK) == static_cast<ssize_t>(sizeof(tag))) {
        return tag;
    }
    static std::atomic<std::uint64_t> counter{0};
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    return static_cast<std::uint64_t>(now) ^ (static_cast<std::uint64_t>(::getpid()) << 32U) ^
           counter.fetch_add(1);
}

// The new file, locked and off descriptor 0, or the Win32 error of the attempt.
UniqueFd CreateExclusive(const std::string& native, DWORD& error) {
    UniqueFd fd(::open(native.c_str(), kBesideFlags, kOwnerReadWrite));
    if (!fd.Valid()) {
        error = errno == ENOENT ? static_cast<DWORD>(ERROR_PATH_NOT_FOUND)
                                : detail::Win32ErrorFromErrno(errno, ERROR_ACCESS_DENIED);
        return fd;
    }
    if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
        error = detail::Win32ErrorFromErrno(errno, ERROR_LOCK_VIOLATION);
        static_cast<void>(::unlink(native.c_str()));
        return {};
    }
    UniqueFd moved = detail::AvoidNullHandle(std::move(fd));
    if (!moved.Valid()) {
        error = detail::Win32ErrorFromErrno(errno, ERROR_TOO_MANY_OPEN_FILES);
        static_cast<void>(::unlink(native.c_str()));
    }
    return moved;
}

}  // namespace

DWORD CheckFileTarget(const char16_t* target) {
    std::string native;
    if (!detail::ToNativePath(target, native)) {
        return GetLastError();
    }
    struct stat info {};
    if (::lstat(native.c_str(), &info) == 0) {
        return Result(KindError(info.st_mode));
    }
    if (errno == ENOENT) {
        return Result(detail::MissingFileError(native));
    }
    return Result(detail::Win32ErrorFromErrno(errno, ERROR_ACCESS_DENIED));
}

HANDLE CreateFileBeside(const char16_t* target, std::u16string& besidePath) {
    std::string native;
    if (!detail::ToNativePath(target, native)) {
        return INVALID_HANDLE_VALUE;
    }
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::u16string candidate = detail::BesidePath(target, u"/", RandomTag());
        if (!detail::ToNativePath(candidate.c_str(), native)) {
            return INVALID_HANDLE_VALUE;
        }
        DWORD error = ERROR_SUCCESS;
        UniqueFd fd = CreateExclusive(native, error);
        if (fd.Valid()) {
            besidePath = std::move(candidate);
            SetLastError(ERROR_SUCCESS);
            return detail::HandleFromFd(fd.Release());
        }
        if (error != ERROR_FILE_EXISTS) {
            return FailOpen(error);
        }
    }
    return FailOpen(ERROR_FILE_EXISTS);
}

}  // namespace hvx::os
