// System time as a FILETIME: 100-nanosecond intervals since 1601-01-01 UTC.
#pragma once

#include <cstdint>

namespace hvx::os {

std::uint64_t GetSystemTimeAsFileTime();

}  // namespace hvx::os
