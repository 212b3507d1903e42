// The management client's hot path: a fresh session per request. Small HTTPS GETs to one local
// server (cpp-httplib, keep-alive on), in alternating rounds of the same run:
//   (a) through libcaspo's exports, as a caller uses them: GetHttpC, Init, MakeRequest into a
//       buffer, ReleaseHttpC, a fresh session for every request;
//   (b) one reused libcurl easy handle, the lower bound.
// The two take turns in slices of a tenth of a round. Prints each round's rates and the median
// of (a) / (b); the goal is at least 0.9.
//
// The program keeps itself, and so the server's threads, on the one CPU it starts on, unless
// --unpinned. The server's thread for each connection waits in poll; woken on another CPU it
// answers far later than on the client's own (a sleeping virtual CPU wakes slowly), and which of
// the two connections' threads the system puts where decides the run: a ratio of 0.29 in one run
// and 7.5 in the next on the same build. On one CPU the ratio is what each side costs.
//
// With --new-connections the server closes each connection after its answer, as one that an
// agent calls every few minutes has long done: every request then makes a connection and resumes
// a TLS session, and (a) installs the trusted certificates into each new TLS context.
//
//   build/bin/fresh_session_bench [--requests N] [--rounds N] [--unpinned] [--new-connections]
#include <curl/curl.h>
#include <httplib.h>
#include <sched.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench/common/https_bench_server.h"
#include "bench/common/table_row.h"
#include "interfaces/caspo.h"
#include "platform/module.h"
#include "support/config_keys.h"
#include "support/module_handle.h"
#include "tests/support/fake_config.h"
#include "tests/support/net/test_certs.h"

namespace {

using hvx::test::TestCertificates;
using Clock = std::chrono::steady_clock;

constexpr long kOk = 200;
constexpr const char* kSessionUserAgent = "HalvexProtect/6.5.0.11255";

// Seconds spent on `requests` calls of `one`, added to `spent`; false when one failed.
template <typename Request>
bool Time(int requests, Request one, double& spent) {
    const auto start = Clock::now();
    for (int i = 0; i < requests; ++i) {
        if (!one()) {
            return false;
        }
    }
    spent += std::chrono::duration<double>(Clock::now() - start).count();
    return true;
}

struct Exports {
    decltype(&GetHttpC) get = nullptr;
    decltype(&ReleaseHttpC) release = nullptr;
};

bool FreshSessionGet(const Exports& exports, const std::u16string& url, hvx::IConfig* config) {
    hvx::IHttpSession* session = exports.get();
    std::array<char, 256> body{};
    std::uint32_t status = 0;
    std::uint32_t size = body.size();
    const bool ok = session->Init(
                        u"GET", url.c_str(), [] { return false; }, config) == S_OK &&
                    session->MakeRequest(&status, &size, body.data()) == S_OK && status == kOk;
    exports.release(session);
    return ok;
}

std::size_t Discard(char* /*data*/, std::size_t size, std::size_t count, void* /*user*/) {
    return size * count;
}

int ArgumentOr(int argc, char** argv, const char* name, int fallback) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0) {
            int value = 0;
            const char* end = argv[i + 1] + std::strlen(argv[i + 1]);
            const auto [stop, error] = std::from_chars(argv[i + 1], end, value);
            return error == std::errc{} && stop == end ? std::max(1, value) : fallback;
        }
    }
    return fallback;
}

bool HasFlag(int argc, char** argv, const char* name) {
    return std::any_of(argv + 1, argv + argc,
                       [name](const char* arg) { return std::strcmp(arg, name) == 0; });
}

// Keeps the process on the CPU it runs on (threads started later inherit it); false when the
// system refuses.
bool PinToThisCpu() {
    const int cpu = sched_getcpu();
    if (cpu < 0) {
        return false;
    }
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(cpu, &one);
    return sched_setaffinity(0, sizeof(one), &one) == 0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

// NOLINTBEGIN(cert-err33-c): a failed write of the report is not worth reporting.
int main(int argc, char** argv) {
    const int requests = ArgumentOr(argc, argv, "--requests", 1000);
    const int rounds = ArgumentOr(argc, argv, "--rounds", 5);
    if (!HasFlag(argc, argv, "--unpinned") && !PinToThisCpu()) {
        std::fprintf(stderr, "cannot keep to one CPU; timing as the system schedules\n");
    }
    const hvx::bench::BenchHttpsServer server(HasFlag(argc, argv, "--new-connections")
                                                  ? hvx::bench::Connections::kOnePerRequest
                                                  : hvx::bench::Connections::kKeptAlive);
    const std::string url = server.Url();
    const std::u16string wideUrl(url.begin(), url.end());
    const std::string& ca = TestCertificates::Shared().Ca().certificatePem;

    hvx::test::FakeConfig config;
    config.PutCertificates(hvx::keys::kTrustedCerts, ca);
    config.PutDword(hvx::keys::kVerifyHost, 1);
    config.PutDword(hvx::keys::kVerifyPeer, 1);

    const hvx::ModuleHandle caspo(hvx::os::LoadLibraryW(hvx::kCaspoModule));
    const Exports exports{hvx::GetExport<decltype(&GetHttpC)>(caspo.get(), "GetHttpC"),
                          hvx::GetExport<decltype(&ReleaseHttpC)>(caspo.get(), "ReleaseHttpC")};
    if (exports.get == nullptr || exports.release == nullptr) {
        std::fprintf(stderr, "libcaspo.so or its exports cannot be found\n");
        return 1;
    }

    const std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> easy(curl_easy_init(),
                                                                   &curl_easy_cleanup);
    curl_blob blob{const_cast<char*>(ca.data()), ca.size(), CURL_BLOB_COPY};
    curl_easy_setopt(easy.get(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, &Discard);
    curl_easy_setopt(easy.get(), CURLOPT_CAINFO_BLOB, &blob);
    // The same request bytes on both sides: a session sends its User-Agent line (the default one,
    // as the benchmark's store has no product version), so the reused handle sends it too.
    curl_easy_setopt(easy.get(), CURLOPT_USERAGENT, kSessionUserAgent);
    const auto reusedGet = [&easy] {
        long status = 0;
        return curl_easy_perform(easy.get()) == CURLE_OK &&
               curl_easy_getinfo(easy.get(), CURLINFO_RESPONSE_CODE, &status) == CURLE_OK &&
               status == kOk;
    };
    const auto freshGet = [&] { return FreshSessionGet(exports, wideUrl, &config); };

    // One of each first, so that neither side pays the process's first handshake in a round.
    if (!freshGet() || !reusedGet()) {
        std::fprintf(stderr, "a request failed\n");
        return 1;
    }
    // Within a round the two sides take turns in slices of a tenth, so a change of the
    // machine's load falls on both alike.
    const int slice = std::max(1, requests / 10);
    std::vector<double> ratios;
    std::vector<double> freshRates;
    std::vector<double> reusedRates;
    for (int round = 1; round <= rounds; ++round) {
        double freshSpent = 0;
        double reusedSpent = 0;
        for (int done = 0; done < requests; done += slice) {
            if (!Time(slice, freshGet, freshSpent) || !Time(slice, reusedGet, reusedSpent)) {
                std::fprintf(stderr, "a request failed in round %d\n", round);
                return 1;
            }
        }
        const int made = (requests + slice - 1) / slice * slice;
        const double fresh = made / freshSpent;
        const double reused = made / reusedSpent;
        ratios.push_back(fresh / reused);
        freshRates.push_back(fresh);
        reusedRates.push_back(reused);
        std::printf(
            "round %d: (a) fresh sessions through the exports %.0f/s, (b) reused handle "
            "%.0f/s, (a)/(b) %.3f\n",
            round, fresh, reused, fresh / reused);
    }
    std::printf("median (a)/(b) over %d rounds of %d requests: %.3f (goal: at least 0.90)\n",
                rounds, requests, Median(ratios));
    hvx::bench::PrintTableRow(
        "HTTPS GETs, a fresh session each, through the exports",
        hvx::bench::Figure(Median(freshRates), "req/s", 0),
        "one reused libcurl handle " + hvx::bench::Figure(Median(reusedRates), "req/s", 0),
        Median(ratios), hvx::bench::Goal::AtLeast, 0.9);
    return 0;
}
// NOLINTEND(cert-err33-c)
