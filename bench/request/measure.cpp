#include "bench/request/measure.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "session/request_buffers.h"

namespace hvx::bench {

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
