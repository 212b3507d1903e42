// Owns one file descriptor.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <utility>

namespace hvx::os::detail {

class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : m_fd(fd) {}
    ~UniqueFd() { Reset(); }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    UniqueFd(UniqueFd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            Reset();
            m_fd = std::exchange(other.m_fd, -1);
        }
        return *this;
    }

    int Get() const { return m_fd; }
    bool Valid() const { return m_fd >= 0; }
    int Release() { return std::exchange(m_fd, -1); }

private:
    void Reset() {
        if (m_fd >= 0) {
            // Nothing can be done about a failing close here; the descriptor is gone either way.
            static_cast<void>(::close(m_fd));
            m_fd = -1;
        }
    }

    int m_fd = -1;
};

// Descriptor 0 would be a null HANDLE: move it out of the way. Invalid (errno set) when the
// descriptor cannot be duplicated.
[[nodiscard]] inline UniqueFd AvoidNullHandle(UniqueFd fd) {
    if (fd.Get() != 0) {
        return fd;
    }
    return UniqueFd(::fcntl(fd.Get(), F_DUPFD_CLOEXEC, 1));
}

}  // namespace hvx::os::detail
