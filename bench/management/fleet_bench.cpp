// The registration fleet: N agent processes (fleet_agent) call Register every PERIOD ms for
// WINDOWS rate windows of WINDOW ms each, with the default rate settings otherwise, against the
// reference backend over HTTPS (in this process, with --record files). One agent in ten keeps
// its machine unchanged... see kMix below for the whole fleet:
//   steady    nothing changes: one registration, then nothing to send
//   hostname  a new host name at every call
//   adapter   a new MAC address at every call
//   errors    a new host name at every call, against a backend whose register answers 500
//   offline   a new host name at every call, against a port where nothing listens
// Prints requests per agent per window for each kind, the most registrations one agent sent
// within one limiter window once the backend had answered (the limiter admits 11), and the
// backend's load over time.
//
//   build/bin/fleet_bench [--agents N] [--period MS] [--window MS] [--windows K]
#include <json/json.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/common/table_row.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"
#include "tools/backend/backend.h"
#include "tools/common/whole_file.h"

namespace {

struct Kind {
    const char* name;
    const char* machine;  // the agent's MODE
    const char* backend;  // "ok", "errors" or "offline"
};
// Agent i is of kind kMix[i % 10].
constexpr std::array<Kind, 10> kMix = {{
    {"steady", "steady", "ok"},
    {"steady", "steady", "ok"},
    {"steady", "steady", "ok"},
    {"hostname", "hostname", "ok"},
    {"hostname", "hostname", "ok"},
    {"adapter", "adapter", "ok"},
    {"adapter", "adapter", "ok"},
    {"errors", "hostname", "errors"},
    {"errors", "hostname", "errors"},
    {"offline", "hostname", "offline"},
}};

struct Settings {
    int agents = 50;
    int period = 100;
    int window = 5000;
    int windows = 3;
};

Settings ReadSettings(int argc, char** argv) {
    Settings settings;
    const std::map<std::string, int*> names = {{"--agents", &settings.agents},
                                               {"--period", &settings.period},
                                               {"--window", &settings.window},
                                               {"--windows", &settings.windows}};
    for (int i = 1; i + 1 < argc; i += 2) {
        if (const auto found = names.find(argv[i]); found != names.end()) {
            int value = 0;
            const char* end = argv[i + 1] + std::strlen(argv[i + 1]);
            const auto [stop, error] = std::from_chars(argv[i + 1], end, value);
            if (error == std::errc{} && stop == end) {
                *found->second = std::max(1, value);
            }
        }
    }
    settings.agents = std::min(settings.agents, 200);
    return settings;
}

// A port of 127.0.0.1 where nothing listens: bound, then let go.
int ClosedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        address.sin_port = 0;
    }
    ::close(fd);
    return ntohs(address.sin_port);
}

struct Tally {
    int agents = 0;
    long sends = 0;
    long attempts = 0;
    int mostInOneWindow = 0;
    int mostInOneSpan = 0;
};

// One agent's report. A limiter window opens with the send that leaves the limiter's count at 1
// and ends with the send that makes the limiter start over; the sends in between are what the
// window admitted. A span is any `window` ms, wherever it begins.
void Count(const Json::Value& report, int window, Tally& tally) {
    const Json::Value& attempts = report["attempts"];
    std::vector<std::int64_t> sends;
    int inWindow = 0;
    bool open = false;
    for (const Json::Value& attempt : attempts) {
        if (!attempt[1].asBool()) {
            continue;
        }
        sends.push_back(attempt[0].asInt64());
        if (attempt[4].asBool()) {
            open = false;
        } else if (attempt[2].asUInt() == 1) {
            open = true;
            inWindow = 1;
        } else if (open) {
            ++inWindow;
        }
        tally.mostInOneWindow = std::max(tally.mostInOneWindow, open ? inWindow : 0);
    }
    for (std::size_t first = 0; first < sends.size(); ++first) {
        const auto end = std::upper_bound(sends.begin(), sends.end(), sends[first] + window);
        tally.mostInOneSpan =
            std::max(tally.mostInOneSpan,
                     static_cast<int>(end - (sends.begin() + static_cast<long>(first))));
    }
    ++tally.agents;
    tally.sends += static_cast<long>(sends.size());
    tally.attempts += attempts.size();
}

// Requests per second at the backend, from its record file.
std::map<long, int> LoadPerSecond(const std::filesystem::path& record) {
    std::map<long, int> load;
    std::ifstream lines(record);
    std::string line;
    Json::Value entry;
    while (std::getline(lines, line)) {
        if (Json::Reader().parse(line, entry)) {
            ++load[static_cast<long>(entry["ms"].asInt64() / 1000)];
        }
    }
    return load;
}

}  // namespace

// NOLINTBEGIN(cert-err33-c): a failed write of the report is not worth reporting.
int main(int argc, char** argv) {
    const Settings settings = ReadSettings(argc, argv);
    const hvx::test::TempDir dir;
    hvx::backend::BackendOptions ok;
    ok.tlsDir = dir / "tls";
    ok.recordFile = dir / "ok.jsonl";
    hvx::backend::BackendOptions failing = ok;
    failing.recordFile = dir / "errors.jsonl";
    failing.managementRules = {"register=error:500:0xC1040003:overloaded"};
    hvx::backend::Backend okBackend(ok);
    hvx::backend::Backend errorBackend(failing);
    if (const std::string problem = okBackend.Start() + errorBackend.Start(); !problem.empty()) {
        std::fprintf(stderr, "fleet_bench: %s\n", problem.c_str());
        return 1;
    }
    const std::map<std::string, std::string> urls = {
        {"ok", okBackend.Listeners().at(1).url},
        {"errors", errorBackend.Listeners().at(1).url},
        {"offline", "https://127.0.0.1:" + std::to_string(ClosedPort())}};
    const std::string agent =
        (std::filesystem::path(argv[0]).parent_path() / "fleet_agent").string();
    const int duration = settings.window * settings.windows;

    std::vector<std::unique_ptr<hvx::test::ChildProcess>> agents;
    for (int i = 0; i < settings.agents; ++i) {
        const Kind& kind = kMix.at(i % kMix.size());
        agents.push_back(std::make_unique<hvx::test::ChildProcess>(
            agent,
            std::vector<std::string>{agent, urls.at(kind.backend), okBackend.CaFile()->string(),
                                     kind.machine, std::to_string(i),
                                     std::to_string(settings.period), std::to_string(duration),
                                     std::to_string(settings.window)},
            hvx::test::ChildProcess::Output{dir / ("agent" + std::to_string(i) + ".json"), {}}));
    }
    std::map<std::string, Tally> tallies;
    for (int i = 0; i < settings.agents; ++i) {
        const Kind& kind = kMix.at(i % kMix.size());
        Json::Value report;
        const int status = agents[i]->Wait();
        const auto text = hvx::tools::ReadWholeFile(dir / ("agent" + std::to_string(i) + ".json"));
        if (status != 0 || !text || !Json::Reader().parse(*text, report)) {
            std::fprintf(stderr, "fleet_bench: agent %d failed (exit status %d)\n", i, status);
            return 1;
        }
        Count(report, settings.window, tallies[kind.name]);
    }
    okBackend.Stop();
    errorBackend.Stop();

    std::printf(
        "%d agents, Register every %d ms for %d windows of %d ms (rate limit 10: 11 a "
        "window)\n\n",
        settings.agents, settings.period, settings.windows, settings.window);
    std::printf("%-9s %6s %9s %19s %19s %17s\n", "kind", "agents", "attempts", "requests/agent/win",
                "most in one window", "most in one span");
    for (const auto& [name, tally] : tallies) {
        std::printf("%-9s %6d %9ld %19.1f %19d %17d\n", name.c_str(), tally.agents, tally.attempts,
                    static_cast<double>(tally.sends) / tally.agents / settings.windows,
                    tally.mostInOneWindow, tally.mostInOneSpan);
    }
    // Agents whose backend answered: the limiter admits at most 11 sends a window.
    constexpr double kMostPerWindow = 11;
    for (const auto& [name, tally] : tallies) {
        if (name != "offline") {
            hvx::bench::PrintTableRow(
                "register rate limit, " + name + " agents",
                "most " + std::to_string(tally.mostInOneWindow) + " a window",
                "none (goal " + std::to_string(static_cast<int>(kMostPerWindow)) + ")",
                tally.mostInOneWindow / kMostPerWindow, hvx::bench::Goal::AtMost, 1.0);
        }
    }
    std::printf("\nbackend load (requests received per second since its start)\n%6s %6s %8s\n",
                "second", "ok", "errors");
    const auto okLoad = LoadPerSecond(dir / "ok.jsonl");
    const auto errorLoad = LoadPerSecond(dir / "errors.jsonl");
    long last = 0;
    for (const auto& load : {okLoad, errorLoad}) {
        if (!load.empty()) {
            last = std::max(last, load.rbegin()->first);
        }
    }
    for (long second = 0; second <= last; ++second) {
        const auto count = [second](const std::map<long, int>& load) {
            const auto found = load.find(second);
            return found == load.end() ? 0 : found->second;
        };
        std::printf("%6ld %6d %8d\n", second, count(okLoad), count(errorLoad));
    }
    return 0;
}
// NOLINTEND(cert-err33-c)
