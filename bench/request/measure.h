// Clocks and memory figures of the request benchmark.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <span>
#include <vector>

namespace hvx::bench {

// Seconds that `work` takes on the steady clock.
double Seconds(const std::function<void()>& work);

// The middle value (the lower of the two middle ones for an even count); 0 for none.
double Median(std::vector<double> values);

// The process's resident memory now, and the most it has held since the last ResetPeak (or its
// start), in bytes, from /proc/self/status.
std::size_t ResidentBytes();
std::size_t PeakResidentBytes();
// Starts the peak over from the resident memory now. False when the system does not allow it.
bool ResetPeak();

// Seconds of malloc, memcpy of `source` into the fresh memory, and free: the least that putting
// the bytes into new memory once can take.
double TimedFreshCopy(std::span<const char> source);

// Fills `size` bytes with a pattern that differs from position to position.
std::vector<char> PatternedBytes(std::size_t size);

}  // namespace hvx::bench
