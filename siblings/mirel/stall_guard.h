// The stall rule of a transfer: one that moves fewer than `bytesPerSecond` x `windowSeconds`
// bytes (up and down together) in any `windowSeconds` seconds is ended. It is an average over
// the whole window, so a server cannot keep a transfer alive with a trickle, nor with a burst
// now and then, unless it sends at that rate on average.
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

namespace hvx::mirel {

class StallGuard {
public:
    using Clock = std::chrono::steady_clock;

    // Before a transfer that starts at `start`.
    void Start(std::uint32_t windowSeconds, std::uint32_t bytesPerSecond, Clock::time_point start);
    // Takes the bytes moved so far (called at least once a second while the transfer runs);
    // true once the rule is broken, and from then on.
    bool Stalled(std::uint64_t moved, Clock::time_point now);
    bool Tripped() const { return m_tripped; }

private:
    // The bytes moved by the start of each second, a ring of window + 1 marks.
    std::vector<std::uint64_t> m_marks;
    Clock::time_point m_start;
    std::uint64_t m_nextSecond = 0;
    std::uint32_t m_window = 0;
    std::uint64_t m_leastBytes = 0;
    std::uint64_t m_total = 0;
    std::uint64_t m_lastMoved = 0;
    bool m_tripped = false;
};

}  // namespace hvx::mirel
