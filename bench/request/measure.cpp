#include "bench/request/measure.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "session/request_buffers.h"

namespace hvx::bench {

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

double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>((values.size() - 1) / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

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

double TimedFreshCopy(std::span<const char> source) {
    return Seconds([&] {
        // NOLINTNEXTLINE(cppcoreguidelines-no-malloc): the same allocator as the body builder
        const MallocBuffer target(static_cast<char*>(std::malloc(source.size())));
        if (target) {
            std::memcpy(target.get(), source.data(), source.size());
            benchmark::DoNotOptimize(target.get());
            benchmark::ClobberMemory();
        }
    });
}

std::vector<char> PatternedBytes(std::size_t size) {
    std::vector<char> bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>('a' + (i * 7 + i / 8191) % 26);
    }
    return bytes;
}

}  // namespace hvx::bench
