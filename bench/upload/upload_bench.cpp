// upload_bench: one large file uploaded to caspo-backend (in-process, HTTP on a free port of
// 127.0.0.1) by `caspo upload` (the command line, which uses libcaspo's upload client through
// its exports) beside `curl -F` of the same file to the same URL, alternating, in the same run.
// Each client is a child process, so its wall time and its peak resident memory (from wait4) are
// its own. The upload client builds the whole body in memory by design: the goals are at most
// 1.2 x curl's time and a peak of at most 2.2 x the file. The backend stores the uploaded files,
// as it does in the demo (removed after each round); --no-store has it only count them.
//
//   <build>/bin/upload_bench [--mib N] [--rounds N] [--dir PATH] [--curl PATH] [--caspo PATH]
//                            [--no-store]
//
// Defaults: 256 MiB, 5 rounds, the files under $TMPDIR (or /tmp), caspo beside this program.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/common/table_row.h"
#include "tools/backend/backend.h"

namespace {

constexpr std::size_t kMebibyte = std::size_t{1} << 20U;
constexpr double kTimeGoal = 1.2;
constexpr double kMemoryGoal = 2.2;

struct Options {
    std::size_t mebibytes = 256;
    int rounds = 5;
    std::filesystem::path dir;
    std::string curl = "curl";
    std::string caspo;
    bool store = true;
};

Options ParseOptions(int argc, char** argv) {
    Options options;
    const char* tmp = std::getenv("TMPDIR");
    options.dir = tmp != nullptr ? tmp : "/tmp";
    options.caspo = (std::filesystem::canonical("/proc/self/exe").parent_path() / "caspo").string();
    const std::vector<std::string> args(argv + 1, argv + argc);
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--no-store") {
            options.store = false;
            continue;
        }
        if (i + 1 == args.size()) {
            break;
        }
        if (args[i] == "--mib") {
            options.mebibytes = std::stoul(args[i + 1]);
        } else if (args[i] == "--rounds") {
            options.rounds = std::stoi(args[i + 1]);
        } else if (args[i] == "--dir") {
            options.dir = args[i + 1];
        } else if (args[i] == "--curl") {
            options.curl = args[i + 1];
        } else if (args[i] == "--caspo") {
            options.caspo = args[i + 1];
        }
        ++i;
    }
    return options;
}

struct Run {
    bool ok = false;
    double seconds = 0;
    double peakBytes = 0;
};

// Runs the program to its end, its output discarded; its wall time and peak memory.
Run Measure(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const bool spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    if (!spawned || wait4(pid, &status, 0, &usage) != pid) {
        return {};
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    constexpr double kKibibyte = 1024.0;
    return {WIFEXITED(status) && WEXITSTATUS(status) == 0, seconds,
            static_cast<double>(usage.ru_maxrss) * kKibibyte};
}

// The system's load averages over 1, 5 and 15 minutes, as /proc/loadavg gives them.
std::string LoadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one;
    std::string five;
    std::string fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[(values.size() - 1) / 2];
}

void WriteFile(const std::filesystem::path& path, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::vector<char> block(kMebibyte);
    for (std::size_t written = 0; written < size; written += block.size()) {
        for (std::size_t i = 0; i < block.size(); ++i) {
            block[i] = static_cast<char>((written + i * 7) & 0xFFU);
        }
        out.write(block.data(),
                  static_cast<std::streamsize>(std::min(block.size(), size - written)));
    }
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = ParseOptions(argc, argv);
    const std::size_t size = options.mebibytes * kMebibyte;
    const std::string prefix = "caspo-upload-bench-" + std::to_string(getpid());
    const auto file = options.dir / (prefix + ".bin");
    const auto store = options.dir / (prefix + ".db");
    const auto received = options.dir / (prefix + "-received");
    WriteFile(file, size);
    hvx::backend::BackendOptions backendOptions;
    if (options.store) {
        std::filesystem::create_directories(received);
        backendOptions.uploadDir = received;
    }
    hvx::backend::Backend backend(backendOptions);
    if (const std::string problem = backend.Start(); !problem.empty()) {
        static_cast<void>(
            std::fprintf(stderr, "upload_bench: the backend did not start: %s\n", problem.c_str()));
        return EXIT_FAILURE;
    }
    const std::string url = backend.Listeners().at(0).url + "/upload";
    std::vector<double> caspoTimes;
    std::vector<double> curlTimes;
    std::vector<double> caspoPeaks;
    std::vector<double> curlPeaks;
    std::error_code ignored;
    bool ok = true;
    std::printf("upload_bench: %zu MiB to %s (%s), %d rounds each, load average %s\n",
                options.mebibytes, url.c_str(),
                options.store ? "files stored" : "files counted only", options.rounds,
                LoadAverage().c_str());
    for (int round = 0; round < options.rounds && ok; ++round) {
        const Run caspo =
            Measure({options.caspo, "--store", store.string(), "upload", url, file.string()});
        const Run curl =
            Measure({options.curl, "-sS", "-o", "/dev/null", "-F", "file=@" + file.string(), url});
        ok = caspo.ok && curl.ok;
        std::printf(
            "  round %d: caspo upload %.3f s, peak %.1f MiB   curl -F %.3f s, peak %.1f MiB\n",
            round + 1, caspo.seconds, caspo.peakBytes / kMebibyte, curl.seconds,
            curl.peakBytes / kMebibyte);
        for (const auto& stored : std::filesystem::directory_iterator(received, ignored)) {
            std::filesystem::remove(stored.path(), ignored);
        }
        caspoTimes.push_back(caspo.seconds);
        curlTimes.push_back(curl.seconds);
        caspoPeaks.push_back(caspo.peakBytes);
        curlPeaks.push_back(curl.peakBytes);
    }
    std::filesystem::remove(file, ignored);
    std::filesystem::remove(store, ignored);
    std::filesystem::remove_all(received, ignored);
    if (!ok) {
        static_cast<void>(std::fprintf(stderr, "upload_bench: a client failed\n"));
        return EXIT_FAILURE;
    }
    using hvx::bench::Figure;
    const double time = Median(caspoTimes) / Median(curlTimes);
    const double memory = Median(caspoPeaks) / static_cast<double>(size);
    std::printf(
        "median: caspo upload %.3f s, curl -F %.3f s, ratio %.2f (goal <= %.1f), "
        "load average %s\n",
        Median(caspoTimes), Median(curlTimes), time, kTimeGoal, LoadAverage().c_str());
    std::printf(
        "median peak: caspo upload %.1f MiB = %.2f x the file (goal <= %.1f); curl -F %.1f MiB\n",
        Median(caspoPeaks) / kMebibyte, memory, kMemoryGoal, Median(curlPeaks) / kMebibyte);
    hvx::bench::PrintTableRow("upload " + std::to_string(options.mebibytes) + " MiB: time",
                              Figure(Median(caspoTimes), "s"),
                              "curl -F " + Figure(Median(curlTimes), "s"), time,
                              hvx::bench::Goal::AtMost, kTimeGoal);
    hvx::bench::PrintTableRow(
        "upload " + std::to_string(options.mebibytes) + " MiB: peak memory",
        Figure(Median(caspoPeaks) / kMebibyte, "MiB", 1),
        "the file " + Figure(static_cast<double>(options.mebibytes), "MiB", 1), memory,
        hvx::bench::Goal::AtMost, kMemoryGoal);
    return EXIT_SUCCESS;
}
