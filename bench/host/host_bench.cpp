// The adapter inventory of a network namespace with 50 adapters (25 veth pairs, each end up
// with a MAC and a documentation-range IPv4 address). Needs root, like the adapter tests.
#include <benchmark/benchmark.h>
#include <sched.h>

#include <iostream>
#include <string>
#include <vector>

#include "support/network_info.h"
#include "tests/unit/host/net_namespace.h"

namespace {

constexpr int kPairs = 25;
constexpr int kAdapters = 2 * kPairs;

std::string Hex(int value) {
    constexpr const char* kDigits = "0123456789abcdef";
    return {kDigits[(value >> 4) & 0xF], kDigits[value & 0xF]};
}

std::vector<std::string> NamespaceCommands() {
    std::vector<std::string> commands{"link set lo up"};
    for (int i = 0; i < kPairs; ++i) {
        const std::string name = "bench" + std::to_string(i);
        const std::vector<std::string> pair = hvx::test::VethCommands(
            {name, "02:00:5e:20:00:" + Hex(i), {"192.0.2." + std::to_string(i + 1) + "/32"}});
        commands.insert(commands.end(), pair.begin(), pair.end());
        commands.push_back("addr add 198.51.100." + std::to_string(i + 1) + "/32 dev " + name +
                           "p");
    }
    return commands;
}

void DumpNetworkInfo50Adapters(benchmark::State& state) {
    hvx::NicInventory inventory;
    // NOLINTNEXTLINE(clang-analyzer-deadcode.DeadStores): the loop variable drives the runs
    for (auto _ : state) {
        benchmark::DoNotOptimize(hvx::DumpNetworkInfo(inventory));
    }
    if (inventory.size() != kAdapters) {
        state.SkipWithError("the namespace does not hold the 50 adapters the benchmark expects");
    }
    state.counters["per_adapter"] = benchmark::Counter(
        kAdapters, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(DumpNetworkInfo50Adapters)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const hvx::test::ScopedNamespace net(CLONE_NEWNET);
    if (!net.problem().empty()) {
        std::cerr << "host_bench needs a network namespace of its own: " << net.problem() << "\n";
        return 1;
    }
    const std::string problem = hvx::test::RunIpCommands(NamespaceCommands());
    if (!problem.empty()) {
        std::cerr << "host_bench could not build its adapters: " << problem << "\n";
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
