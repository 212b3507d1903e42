// The stall guard: a transfer that moves no byte for the stall time is aborted, so a silent server
// cannot hold a caller forever.
#pragma once

#include <curl/curl.h>

namespace hvx::mirel {

inline constexpr long kDefaultStallSeconds = 300;

// Sets the process's stall time; 0 returns to the default. Negative values are refused.
[[nodiscard]] CURLcode SetStallSeconds(long seconds);

// The stall time in force: the value set, else the environment variable MIREL_STALL_SECONDS
// when it holds a positive whole number, else kDefaultStallSeconds.
long StallSeconds();

// Applies the stall time to a handle (the low-speed limit of 1 byte per second over that time).
[[nodiscard]] CURLcode ApplyStallGuard(CURL* easy);

}  // namespace hvx::mirel
