#include "platform/clock.h"

#include <ctime>

namespace hvx::os {

namespace {

// Seconds from 1601-01-01 (the FILETIME epoch) to 1970-01-01 (the POSIX epoch).
constexpr std::uint64_t kEpochDifferenceSeconds = 11644473600ULL;
constexpr std::uint64_t kTicksPerSecond = 10000000ULL;
constexpr std::uint64_t kNanosecondsPerTick = 100ULL;

}  // namespace

std::uint64_t GetSystemTimeAsFileTime() {
    timespec now{};
    // CLOCK_REALTIME cannot fail on Linux; a zeroed time stands for the epoch otherwise.
    static_cast<void>(::clock_gettime(CLOCK_REALTIME, &now));
    const auto seconds = static_cast<std::uint64_t>(now.tv_sec) + kEpochDifferenceSeconds;
    return seconds * kTicksPerSecond +
           static_cast<std::uint64_t>(now.tv_nsec) / kNanosecondsPerTick;
}

}  // namespace hvx::os
