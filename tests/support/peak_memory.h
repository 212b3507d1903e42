// The process's resident memory and its high-water mark, from /proc/self/status (Linux), for
// tests and benchmarks that bound the memory an operation takes.
#pragma once

#include <cstddef>

namespace hvx::test {

// Resident memory now, and the most the process has held since the last ResetPeak (or its
// start), in bytes.
std::size_t ResidentBytes();
std::size_t PeakResidentBytes();
// Starts the peak over from the resident memory now. False when the system does not allow it.
bool ResetPeak();

// The most the resident memory grew above its level at construction while the object lived.
class PeakGrowth {
public:
    PeakGrowth() : m_before(ResidentBytes()), m_reset(ResetPeak()) {}
    bool Measurable() const { return m_reset; }
    std::size_t Bytes() const {
        const std::size_t peak = PeakResidentBytes();
        return peak > m_before ? peak - m_before : 0;
    }

private:
    std::size_t m_before;
    bool m_reset;
};

}  // namespace hvx::test
