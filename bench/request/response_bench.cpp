#include "bench/request/response_bench.h"

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "bench/request/measure.h"
#include "session/http_curl.h"
#include "tests/support/fake_config.h"
#include "tests/support/net/test_server.h"

extern char** environ;  // NOLINT(readability-redundant-declaration): POSIX declares it nowhere

namespace hvx::bench {

namespace {

constexpr int kOk = 200;

struct Bench {
    test::TestServer server;
    test::FakeConfig config;
    std::shared_ptr<const std::string> body;
};

// A fresh session reads the body into a fresh buffer; false when anything differs.
bool Request(Bench& bench, double& seconds) {
    const std::string& body = *bench.body;
    const std::string url = bench.server.Url("/large");
    const auto buffer = std::make_unique_for_overwrite<char[]>(body.size() + 1);
    std::uint32_t status = 0;
    auto size = static_cast<std::uint32_t>(body.size() + 1);
    HRESULT hr = E_FAIL;
    seconds = Seconds([&] {
        CHttpCurl session;
        hr = session.Init(u"GET", std::u16string(url.begin(), url.end()), {}, &bench.config, 0);
        if (SUCCEEDED(hr)) {
            hr = session.MakeRequest(&status, &size, buffer.get());
        }
    });
    return hr == S_OK && status == kOk && size == body.size() &&
           std::memcmp(buffer.get(), body.data(), size) == 0;
}

// The curl program fetches the body to /dev/null; false when it fails.
bool Curl(Bench& bench, const std::string& program, double& seconds) {
    std::string url = bench.server.Url("/large");
    std::string name = program;
    std::vector<std::string> texts = {name, "--silent", "--fail", "--output", "/dev/null", url};
    std::vector<char*> argv;
    argv.reserve(texts.size() + 1);
    for (std::string& text : texts) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);
    int exitStatus = -1;
    seconds = Seconds([&] {
        pid_t child = 0;
        if (posix_spawnp(&child, program.c_str(), nullptr, nullptr, argv.data(), environ) == 0) {
            waitpid(child, &exitStatus, 0);
        }
    });
    return WIFEXITED(exitStatus) && WEXITSTATUS(exitStatus) == 0;
}

}  // namespace

ResponseFigures MeasureResponse(std::size_t bodyBytes, int runs, const std::string& curlProgram) {
    Bench bench;
    {
        const std::vector<char> pattern = PatternedBytes(bodyBytes);
        bench.body = std::make_shared<const std::string>(pattern.begin(), pattern.end());
    }
    // Every answer sends the one body; the server copies nothing.
    bench.server.SetDefaultResponse({.status = kOk, .sharedBody = bench.body});
    ResponseFigures figures;
    figures.bodyBytes = bodyBytes;
    double seconds = 0;
    // A first round loads the engine and the trusted certificates, and warms the connection path.
    if (!Request(bench, seconds) || !Curl(bench, curlProgram, seconds)) {
        return figures;
    }
    const std::size_t before = ResidentBytes();
    if (!ResetPeak() || !Request(bench, seconds)) {
        return figures;
    }
    figures.peakBytes = PeakResidentBytes() - before;
    std::vector<double> requests{seconds};
    std::vector<double> curls;
    std::vector<double> copies;
    for (int run = 0; run < runs; ++run) {
        if (run > 0) {
            if (!Request(bench, seconds)) {
                return figures;
            }
            requests.push_back(seconds);
        }
        if (!Curl(bench, curlProgram, seconds)) {
            return figures;
        }
        curls.push_back(seconds);
        copies.push_back(TimedFreshCopy(*bench.body));
    }
    figures.requestSeconds = Median(requests);
    figures.curlSeconds = Median(curls);
    figures.memcpySeconds = Median(copies);
    figures.ok = true;
    return figures;
}

}  // namespace hvx::bench
