#include "siblings/mirel/stall_guard.h"

#include <algorithm>

namespace hvx::mirel {

void StallGuard::Start(std::uint32_t windowSeconds, std::uint32_t bytesPerSecond,
                       Clock::time_point start) {
    m_marks.assign(std::size_t{windowSeconds} + 1, 0);
    m_start = start;
    m_nextSecond = 1;
    m_window = windowSeconds;
    m_leastBytes = std::uint64_t{windowSeconds} * bytesPerSecond;
    m_total = 0;
    m_lastMoved = 0;
    m_tripped = false;
}

bool StallGuard::Stalled(std::uint64_t moved, Clock::time_point now) {
    if (m_tripped || m_marks.empty()) {
        return m_tripped;
    }
    // libcurl starts its counts over when it sends a request again (an authentication round),
    // so the guard keeps its own running total.
    m_total += moved >= m_lastMoved ? moved - m_lastMoved : moved;
    m_lastMoved = moved;
    const auto elapsed = std::chrono::duration_cast<std::chrono::seconds>(now - m_start).count();
    const auto second = static_cast<std::uint64_t>(std::max<std::int64_t>(elapsed, 0));
    const std::uint64_t ring = m_marks.size();
    // Seconds that passed without a call take the count of this one: the window then looks
    // slower than it was, never faster.
    const std::uint64_t first = std::max(m_nextSecond, second >= ring ? second - ring + 1 : 0);
    for (std::uint64_t s = first; s <= second; ++s) {
        m_marks[s % ring] = m_total;
    }
    m_nextSecond = std::max(m_nextSecond, second + 1);
    if (second >= m_window) {
        const std::uint64_t before = m_marks[(second - m_window) % ring];
        m_tripped = m_total - before < m_leastBytes;
    }
    return m_tripped;
}

}  // namespace hvx::mirel
