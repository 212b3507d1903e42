// CreateFileW on open(2) and flock(2). The share mode becomes an advisory lock taken before
// anything can change the file, so that an open refused for sharing leaves the holder's content
// as it was: CREATE_ALWAYS opens without O_TRUNC, locks, and only then truncates.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>
#include <optional>
#include <string>

#include "platform/file.h"
#include "platform/last_error.h"
#include "platform/posix/errno_map.h"
#include "platform/posix/fd_handle.h"
#include "platform/posix/native_path.h"
#include "platform/posix/unique_fd.h"

namespace hvx::os {

namespace {

using detail::UniqueFd;

constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask
constexpr int kCommonFlags = O_CLOEXEC | O_NOCTTY;

struct OpenPlan {
    int accessFlags = O_RDONLY;
    bool mayCreate = false;   // create when missing
    bool mustCreate = false;  // fail when present
    bool truncate = false;    // empty an existing file once it is locked
    bool reportExisting = false;
};

std::optional<OpenPlan> PlanOpen(DWORD access, DWORD disposition) {
    const bool read = (access & GENERIC_READ) != 0;
    const bool write = (access & GENERIC_WRITE) != 0;
    OpenPlan plan;
    switch (disposition) {
        case CREATE_NEW:
            plan.mayCreate = plan.mustCreate = true;
            break;
        case CREATE_ALWAYS:
            plan.mayCreate = plan.truncate = plan.reportExisting = true;
            break;
        case OPEN_EXISTING:
            break;
        case OPEN_ALWAYS:
            plan.mayCreate = plan.reportExisting = true;
            break;
        case TRUNCATE_EXISTING:
            if (!write) {
                return std::nullopt;
            }
            plan.truncate = true;
            break;
        default:
            return std::nullopt;
    }
    // Emptying a file needs a writable descriptor even when the caller only reads.
    const bool writable = write || plan.truncate;
    plan.accessFlags = writable ? (read ? O_RDWR : O_WRONLY) : O_RDONLY;
    return plan;
}

struct Opened {
    UniqueFd fd;
    bool existed = false;
    DWORD error = ERROR_SUCCESS;
};

Opened Fail(DWORD error) {
    return {UniqueFd(), false, error};
}

Opened OpenExisting(const std::string& path, int flags) {
    UniqueFd fd(::open(path.c_str(), flags | kCommonFlags));
    if (fd.Valid()) {
        return {std::move(fd), true, ERROR_SUCCESS};
    }
    if (errno == ENOENT) {
        return Fail(detail::MissingFileError(path));
    }
    return Fail(detail::Win32ErrorFromErrno(errno, ERROR_ACCESS_DENIED));
}

// Creates the file, or opens it when it exists; `existed` tells which happened.
Opened CreateOrOpen(const std::string& path, const OpenPlan& plan) {
    const int flags = plan.accessFlags | kCommonFlags | O_CREAT;
    UniqueFd created(::open(path.c_str(), flags | O_EXCL, kNewFileMode));
    if (created.Valid()) {
        return {std::move(created), false, ERROR_SUCCESS};
    }
    const int createError = errno;
    if (createError == ENOENT) {
        return Fail(ERROR_PATH_NOT_FOUND);
    }
    if (createError != EEXIST || plan.mustCreate) {
        return Fail(detail::Win32ErrorFromErrno(createError, ERROR_ACCESS_DENIED));
    }
    UniqueFd existing(::open(path.c_str(), plan.accessFlags | kCommonFlags));
    if (existing.Valid()) {
        return {std::move(existing), true, ERROR_SUCCESS};
    }
    // Removed in between, or a link to nothing: create whatever the name leads to.
    UniqueFd retried(::open(path.c_str(), flags, kNewFileMode));
    if (!retried.Valid()) {
        return Fail(detail::Win32ErrorFromErrno(errno, ERROR_ACCESS_DENIED));
    }
    return {std::move(retried), false, ERROR_SUCCESS};
}

// Win32 opens no folder as a file.
[[nodiscard]] DWORD RefuseFolder(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return detail::Win32ErrorFromErrno(errno, ERROR_ACCESS_DENIED);
    }
    return S_ISDIR(info.st_mode) ? static_cast<DWORD>(ERROR_ACCESS_DENIED) : ERROR_SUCCESS;
}

[[nodiscard]] DWORD LockForShareMode(int fd, DWORD share) {
    const int operation = (share == 0 ? LOCK_EX : LOCK_SH) | LOCK_NB;
    int result = 0;
    do {
        result = ::flock(fd, operation);
    } while (result != 0 && errno == EINTR);
    if (result == 0) {
        return ERROR_SUCCESS;
    }
    return errno == EWOULDBLOCK ? static_cast<DWORD>(ERROR_SHARING_VIOLATION)
                                : detail::Win32ErrorFromErrno(errno, ERROR_LOCK_VIOLATION);
}

[[nodiscard]] DWORD Truncate(int fd) {
    return ::ftruncate(fd, 0) == 0 ? ERROR_SUCCESS
                                   : detail::Win32ErrorFromErrno(errno, ERROR_WRITE_FAULT);
}

// Checks, locks and truncates a freshly opened file. ERROR_SUCCESS when it may be handed out.
[[nodiscard]] DWORD PrepareOpened(const Opened& opened, const OpenPlan& plan, DWORD share) {
    if (const DWORD error = RefuseFolder(opened.fd.Get()); error != ERROR_SUCCESS) {
        return error;
    }
    if (const DWORD error = LockForShareMode(opened.fd.Get(), share); error != ERROR_SUCCESS) {
        return error;
    }
    return plan.truncate && opened.existed ? Truncate(opened.fd.Get()) : ERROR_SUCCESS;
}

HANDLE FailOpen(DWORD error) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

}  // namespace

HANDLE CreateFileW(const char16_t* path, DWORD access, DWORD share, DWORD disposition,
                   DWORD /*attributes*/) {
    std::string native;
    if (!detail::ToNativePath(path, native)) {
        return INVALID_HANDLE_VALUE;
    }
    const std::optional<OpenPlan> plan = PlanOpen(access, disposition);
    if (!plan) {
        return FailOpen(ERROR_INVALID_PARAMETER);
    }
    Opened opened =
        plan->mayCreate ? CreateOrOpen(native, *plan) : OpenExisting(native, plan->accessFlags);
    if (!opened.fd.Valid()) {
        return FailOpen(opened.error);
    }
    if (const DWORD error = PrepareOpened(opened, *plan, share); error != ERROR_SUCCESS) {
        return FailOpen(error);
    }
    UniqueFd fd = detail::AvoidNullHandle(std::move(opened.fd));
    if (!fd.Valid()) {
        return FailOpen(detail::Win32ErrorFromErrno(errno, ERROR_TOO_MANY_OPEN_FILES));
    }
    // As on Windows, success over an existing file is told apart through the last error.
    SetLastError(plan->reportExisting && opened.existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return detail::HandleFromFd(fd.Release());
}

}  // namespace hvx::os
