#include "platform/clock.h"

#include "platform/base_types.h"

namespace hvx::os {

std::uint64_t GetSystemTimeAsFileTime() {
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    return (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

}  // namespace hvx::os
