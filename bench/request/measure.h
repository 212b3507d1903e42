// Clocks and memory figures of the request benchmark.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <span>
#include <vector>

#include "tests/support/peak_memory.h"

namespace hvx::bench {

// Seconds that `work` takes on the steady clock.
double Seconds(const std::function<void()>& work);

// The middle value (the lower of the two middle ones for an even count); 0 for none.
double Median(std::vector<double> values);

// Memory figures come from tests/support/peak_memory.h.
using test::PeakResidentBytes;
using test::ResetPeak;
using test::ResidentBytes;

// Seconds of malloc, memcpy of `source` into the fresh memory, and free: the least that putting
// the bytes into new memory once can take.
double TimedFreshCopy(std::span<const char> source);

// Fills `size` bytes with a pattern that differs from position to position.
std::vector<char> PatternedBytes(std::size_t size);

}  // namespace hvx::bench
