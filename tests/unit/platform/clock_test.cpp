#include "platform/clock.h"

#include <gtest/gtest.h>

#include <ctime>

namespace hvx::os {
namespace {

constexpr std::uint64_t kTicksPerSecond = 10000000ULL;
constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600LL;

TEST(PlatformClock, FileTimeCountsFrom1601InHundredNanoseconds) {
    const std::time_t before = std::time(nullptr);
    const std::uint64_t fileTime = GetSystemTimeAsFileTime();
    const std::time_t after = std::time(nullptr);
    const auto seconds =
        static_cast<std::int64_t>(fileTime / kTicksPerSecond) - kSecondsFrom1601To1970;
    EXPECT_GE(seconds, before);
    // time() may read a coarser clock that lags the precise one by a tick.
    EXPECT_LE(seconds, after + 1);
}

}  // namespace
}  // namespace hvx::os
