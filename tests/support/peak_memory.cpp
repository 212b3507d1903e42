#include "tests/support/peak_memory.h"

#include <fstream>
#include <string>

namespace hvx::test {
namespace {

constexpr std::size_t kBytesPerKiB = 1024;

// A "Name:   123 kB" line of /proc/self/status, in bytes; 0 when absent.
std::size_t StatusField(const std::string& name) {
    std::ifstream status("/proc/self/status");
    std::string label;
    while (status >> label) {
        if (label == name + ":") {
            std::size_t kib = 0;
            status >> kib;
            return kib * kBytesPerKiB;
        }
    }
    return 0;
}

}  // namespace

std::size_t ResidentBytes() {
    return StatusField("VmRSS");
}

std::size_t PeakResidentBytes() {
    return StatusField("VmHWM");
}

bool ResetPeak() {
    // Writing 5 to clear_refs starts the high-water mark over (Linux 4.0 and later).
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return static_cast<bool>(clear);
}

}  // namespace hvx::test
