// request_bench: the two large-body paths of a request beside their lower bounds.
//
//   multipart  BuildMultipartBody of four identity parts and a 64 MiB file part, beside one
//              malloc + memcpy + free of the file's bytes; and the peak memory of sections and
//              body together. Goals: at most 2x the memcpy time, peak at most 2.1x the body.
//   response   a fresh session's Init and MakeRequest (buffer form) reading a 256 MiB body from
//              the test server into a fresh buffer, beside the curl program fetching the same
//              body from the same server to /dev/null plus one malloc + memcpy + free of the
//              body. Goal: at most 2.5x that bound.
//
//   <build>/bin/request_bench [--multipart-mib N] [--response-mib N] [--runs N] [--curl PATH]
//
// Prints medians of the runs and the ratios; exits 1 when a measurement could not be made.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "bench/common/table_row.h"
#include "bench/request/multipart_bench.h"
#include "bench/request/response_bench.h"
#include "siblings/venit/venit.h"

namespace {

constexpr double kMiB = 1024.0 * 1024.0;
constexpr double kMultipartTimeGoal = 2.0;
constexpr double kMultipartMemoryGoal = 2.1;
constexpr double kResponseGoal = 2.5;

struct Options {
    std::size_t multipartMiB = 64;
    std::size_t responseMiB = 256;
    int runs = 5;
    std::string curl = "curl";
};

Options Parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string_view name = argv[i];
        const std::string value = argv[i + 1];
        if (name == "--multipart-mib") {
            options.multipartMiB = std::stoul(value);
        } else if (name == "--response-mib") {
            options.responseMiB = std::stoul(value);
        } else if (name == "--runs") {
            options.runs = std::stoi(value);
        } else if (name == "--curl") {
            options.curl = value;
        }
    }
    return options;
}

const char* Verdict(double ratio, double goal) {
    return ratio <= goal ? "goal met" : "goal missed";
}

bool ReportMultipart(const Options& options) {
    const hvx::bench::MultipartFigures f = hvx::bench::MeasureMultipart(
        options.multipartMiB * static_cast<std::size_t>(kMiB), options.runs);
    if (!f.ok) {
        std::printf("multipart: the measurement failed\n");
        return false;
    }
    const double time = f.buildSeconds / f.memcpySeconds;
    const double memory = static_cast<double>(f.peakBytes) / static_cast<double>(f.bodyBytes);
    std::printf("multipart body of %zu bytes, medians of %d runs\n", f.bodyBytes, options.runs);
    std::printf("  BuildMultipartBody + free      %8.4f s\n", f.buildSeconds);
    std::printf("  malloc + memcpy + free         %8.4f s\n", f.memcpySeconds);
    std::printf("  time ratio                     %8.2f   (at most %.1f: %s)\n", time,
                kMultipartTimeGoal, Verdict(time, kMultipartTimeGoal));
    std::printf("  peak, sections and body        %8.1f MiB = %.2f x the body (at most %.1f: %s)\n",
                static_cast<double>(f.peakBytes) / kMiB, memory, kMultipartMemoryGoal,
                Verdict(memory, kMultipartMemoryGoal));
    using hvx::bench::Figure;
    hvx::bench::PrintTableRow("multipart body: time", Figure(f.buildSeconds, "s"),
                              "memcpy " + Figure(f.memcpySeconds, "s"), time,
                              hvx::bench::Goal::AtMost, kMultipartTimeGoal);
    hvx::bench::PrintTableRow(
        "multipart body: peak memory", Figure(static_cast<double>(f.peakBytes) / kMiB, "MiB", 1),
        "the body " + Figure(static_cast<double>(f.bodyBytes) / kMiB, "MiB", 1), memory,
        hvx::bench::Goal::AtMost, kMultipartMemoryGoal);
    return true;
}

bool ReportResponse(const Options& options) {
    const hvx::bench::ResponseFigures f = hvx::bench::MeasureResponse(
        options.responseMiB * static_cast<std::size_t>(kMiB), options.runs, options.curl);
    if (!f.ok) {
        std::printf("response: the measurement failed\n");
        return false;
    }
    const double bound = f.curlSeconds + f.memcpySeconds;
    const double ratio = f.requestSeconds / bound;
    std::printf("response body of %zu bytes, medians of %d runs\n", f.bodyBytes, options.runs);
    std::printf("  Init + MakeRequest (buffer)    %8.4f s (peak %.1f MiB above the start)\n",
                f.requestSeconds, static_cast<double>(f.peakBytes) / kMiB);
    std::printf("  curl to /dev/null              %8.4f s\n", f.curlSeconds);
    std::printf("  malloc + memcpy + free         %8.4f s\n", f.memcpySeconds);
    std::printf("  ratio to curl + memcpy         %8.2f   (at most %.1f: %s)\n", ratio,
                kResponseGoal, Verdict(ratio, kResponseGoal));
    hvx::bench::PrintTableRow("response body into memory",
                              hvx::bench::Figure(f.requestSeconds, "s"),
                              "curl + memcpy " + hvx::bench::Figure(bound, "s"), ratio,
                              hvx::bench::Goal::AtMost, kResponseGoal);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = Parse(argc, argv);
    // The benchmark's records would only slow it down.
    venit::SetLogFile("");
    venit::SetDebugLevel(0);
    // The multipart figures come first, while the process holds nothing else.
    const bool multipart = ReportMultipart(options);
    const bool response = ReportResponse(options);
    return multipart && response ? EXIT_SUCCESS : EXIT_FAILURE;
}
