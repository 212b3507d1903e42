// get_memory_bench: the peak memory of `caspo get` (the command line, run as a child process, as a
// user runs it) reading answers far larger than its 64 MiB body buffer from a server on
// 127.0.0.1: 2 GiB with its length announced, 2 GiB chunked, and 4.5 GiB announced (a size the
// buffer form's 32-bit size cannot hold). The peak is the child's largest resident set, from
// wait4. Goal: every answer below 64 MiB + 32 MiB. Also prints what caspo said and how long it
// took.
//
//   <build>/bin/get_memory_bench [--mib N] [--beyond-mib N]
//
// Defaults: 2048 MiB for the first two answers, 4608 MiB for the third (0 leaves it out).
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "bench/common/table_row.h"
#include "tests/support/net/socket_stream.h"
#include "tests/support/net/test_server.h"
#include "tests/support/temp_dir.h"

extern char** environ;  // NOLINT(readability-redundant-declaration): POSIX declares it nowhere

namespace {

using hvx::test::SocketStream;

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20U;
constexpr std::uint64_t kGoalBytes = 96 * kMiB;
constexpr std::size_t kBlockBytes = std::size_t{64} << 10U;
constexpr std::uint64_t kBytesPerKiB = 1024;

struct Options {
    std::uint64_t mebibytes = 2048;
    std::uint64_t beyondMebibytes = 4608;
};

Options Parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string_view name = argv[i];
        const std::uint64_t value = std::stoull(argv[i + 1]);
        if (name == "--mib") {
            options.mebibytes = value;
        } else if (name == "--beyond-mib") {
            options.beyondMebibytes = value;
        }
    }
    return options;
}

// The request head; false when the client went before sending it.
bool ReadHead(SocketStream& stream, std::string& head) {
    std::array<char, 4096> chunk{};
    while (head.find("\r\n\r\n") == std::string::npos) {
        const std::size_t read = stream.Read(chunk.data(), chunk.size());
        if (read == 0) {
            return false;
        }
        head.append(chunk.data(), read);
    }
    return true;
}

// Answers "GET /announced/<bytes>" or "GET /chunked/<bytes>" with that many bytes of body.
void Answer(SocketStream& stream) {
    std::string head;
    if (!ReadHead(stream, head)) {
        return;
    }
    const bool chunked = head.starts_with("GET /chunked/");
    const std::size_t start = head.find('/', head.find('/') + 1) + 1;
    std::uint64_t bytes = 0;
    std::from_chars(head.data() + start, head.data() + head.size(), bytes);
    const std::string block(kBlockBytes, 'b');
    char size[32];
    const int sizeLength = std::snprintf(size, sizeof(size), "%zx\r\n", kBlockBytes);
    bool open = stream.WriteAll(
        chunked ? "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                : "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(bytes) + "\r\n\r\n");
    for (std::uint64_t sent = 0; open && sent < bytes; sent += kBlockBytes) {
        const std::string_view part(block.data(),
                                    std::min<std::uint64_t>(kBlockBytes, bytes - sent));
        open = !chunked ? stream.WriteAll(part)
                        : stream.WriteAll(std::string_view(size, sizeLength)) &&
                              stream.WriteAll(part) && stream.WriteAll("\r\n");
    }
    if (open && chunked) {
        stream.WriteAll("0\r\n\r\n");
    }
}

struct Run {
    bool ok = false;
    int exitStatus = -1;
    std::uint64_t peakBytes = 0;
    double seconds = 0;
    std::string said;
};

std::filesystem::path CaspoProgram() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path() / "caspo";
}

std::string FirstLines(const std::filesystem::path& path) {
    std::string text = hvx::test::ReadWholeFile(path).value_or("");
    std::string lines;
    for (std::size_t start = 0, n = 0; start < text.size() && n < 3; ++n) {
        const std::size_t end = text.find('\n', start);
        lines += "    " + text.substr(start, end - start) + "\n";
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

Run Get(const std::string& url, const hvx::test::TempDir& folder) {
    const std::string program = CaspoProgram().string();
    std::vector<std::string> texts = {program, "--store", (folder / "store.db").string(), "get",
                                      url};
    std::vector<char*> argv;
    argv.reserve(texts.size() + 1);
    for (std::string& text : texts) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string err = (folder / "err").string();
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    Run run;
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        if (wait4(child, &status, 0, &usage) == child && WIFEXITED(status)) {
            run.ok = true;
            run.exitStatus = WEXITSTATUS(status);
            run.peakBytes = static_cast<std::uint64_t>(usage.ru_maxrss) * kBytesPerKiB;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.said = FirstLines(err);
    return run;
}

bool Report(const char* what, const std::string& url, const hvx::test::TempDir& folder) {
    const Run run = Get(url, folder);
    if (!run.ok) {
        std::printf("%s: caspo did not run to its end\n", what);
        return false;
    }
    const double peak = static_cast<double>(run.peakBytes) / static_cast<double>(kMiB);
    std::printf("%s\n  peak %.1f MiB (goal below %llu MiB: %s), %.1f s, exit status %d\n%s", what,
                peak, static_cast<unsigned long long>(kGoalBytes / kMiB),
                run.peakBytes < kGoalBytes ? "goal met" : "goal missed", run.seconds,
                run.exitStatus, run.said.c_str());
    const double goal = static_cast<double>(kGoalBytes / kMiB);
    hvx::bench::PrintTableRow(std::string(what) + ": peak memory",
                              hvx::bench::Figure(peak, "MiB", 1),
                              "none (goal below " + hvx::bench::Figure(goal, "MiB", 0) + ")",
                              peak / goal, hvx::bench::Goal::AtMost, 1.0);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = Parse(argc, argv);
    const hvx::test::TempDir folder;
    hvx::test::TestServer server([](SocketStream& stream) { Answer(stream); });
    const std::string bytes = std::to_string(options.mebibytes * kMiB);
    bool ok = Report(("caspo get, " + std::to_string(options.mebibytes) + " MiB announced").c_str(),
                     server.Url("/announced/" + bytes), folder);
    ok = Report(("caspo get, " + std::to_string(options.mebibytes) + " MiB chunked").c_str(),
                server.Url("/chunked/" + bytes), folder) &&
         ok;
    if (options.beyondMebibytes > 0) {
        ok = Report(("caspo get, " + std::to_string(options.beyondMebibytes) + " MiB announced")
                        .c_str(),
                    server.Url("/announced/" + std::to_string(options.beyondMebibytes * kMiB)),
                    folder) &&
             ok;
    }
    return ok ? EXIT_SUCCESS : EXIT_FAILURE;
}
