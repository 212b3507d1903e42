// A file HANDLE on POSIX is the descriptor cast to a pointer. Descriptor 0 would read as a null
// handle, so the open call never hands it out.
#pragma once

#include <climits>
#include <cstdint>

#include "platform/base_types.h"

namespace hvx::os::detail {

inline HANDLE HandleFromFd(int fd) {
    // NOLINTNEXTLINE(performance-no-int-to-ptr): the handle is the number, by contract
    return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(fd));
}

// The descriptor, or -1 for null, INVALID_HANDLE_VALUE and anything that cannot be one.
inline int FdFromHandle(HANDLE handle) {
    const auto value = reinterpret_cast<std::intptr_t>(handle);
    return value > 0 && value <= INT_MAX ? static_cast<int>(value) : -1;
}

}  // namespace hvx::os::detail
