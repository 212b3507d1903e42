// Session set-up and TLS trust against one local HTTPS server (cpp-httplib, keep-alive on):
//   CertMgrInit        CertMgrLoader::Init with the system ROOT store (unloaded between runs)
//   SslContextCallback one TLS-context callback on a fresh TLS context
//   (a) FreshSessions  1,000 GETs, each through a fresh CHttpCurl (construct, Init,
//                      SetProxySettings, engine Get, destroy) on the real libmirel.so
//   (b) RawReusedHandle 1,000 GETs through one libcurl easy handle
//   (c) RawFreshHandle  1,000 GETs, each through a fresh easy handle that loads libcurl's default
//                      CA bundle (and the test CA from memory)
// After the table the program prints the rate of (a) over (b); the goal is at least 0.7.
//
//   build/bin/session_bench [--benchmark_filter=...]
#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <httplib.h>
#include <openssl/ssl.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <thread>

#include "bench/common/https_bench_server.h"
#include "bench/common/table_row.h"
#include "session/http_curl.h"
#include "shared_agent/util/cert_mgr_loader.h"
#include "support/config_keys.h"
#include "tests/support/fake_config.h"
#include "tests/support/net/test_certs.h"

namespace {

using hvx::test::TestCertificates;

constexpr int kRequests = 1000;
constexpr long kOk = 200;
constexpr const char* kRequestsPerSecond = "requests/s";

// One server and one configuration for every benchmark of the run.
struct Shared {
    Shared() : url(server.Url()), wideUrl(url.begin(), url.end()) {
        config.PutCertificates(hvx::keys::kTrustedCerts,
                               TestCertificates::Shared().Ca().certificatePem);
        config.PutDword(hvx::keys::kVerifyHost, 1);
        config.PutDword(hvx::keys::kVerifyPeer, 1);
    }
    hvx::bench::BenchHttpsServer server;
    std::string url;
    std::u16string wideUrl;
    hvx::test::FakeConfig config;
};

Shared& Bench() {
    static Shared shared;
    return shared;
}

void CountRequests(benchmark::State& state) {
    state.counters[kRequestsPerSecond] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void CertMgrInit(benchmark::State& state) {
    hvx::test::FakeConfig& config = Bench().config;
    // NOLINTNEXTLINE(clang-analyzer-deadcode.DeadStores): the loop variable drives the runs
    for (auto _ : state) {
        state.PauseTiming();
        hvx::CertMgrLoader::UnloadCerts();
        state.ResumeTiming();
        benchmark::DoNotOptimize(hvx::CertMgrLoader::Init(&config));
    }
    if (!hvx::CertMgrLoader::IsLoaded()) {
        state.SkipWithError("the certificates did not load");
    }
}
BENCHMARK(CertMgrInit)->Unit(benchmark::kMillisecond);

struct SslCtxFree {
    void operator()(SSL_CTX* context) const { SSL_CTX_free(context); }
};

void SslContextCallback(benchmark::State& state) {
    static_cast<void>(hvx::CertMgrLoader::Init(&Bench().config));
    // NOLINTNEXTLINE(clang-analyzer-deadcode.DeadStores): the loop variable drives the runs
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<SSL_CTX, SslCtxFree> context(SSL_CTX_new(TLS_client_method()));
        state.ResumeTiming();
        hvx::CertMgrLoader::SSLContextConfigCallback(nullptr, context.get(), nullptr);
        state.PauseTiming();
        context.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(SslContextCallback)->Unit(benchmark::kMicrosecond);

void FreshSessions(benchmark::State& state) {
    Shared& shared = Bench();
    static_cast<void>(hvx::CertMgrLoader::Init(&shared.config));
    // NOLINTNEXTLINE(clang-analyzer-deadcode.DeadStores): the loop variable drives the runs
    for (auto _ : state) {
        hvx::CHttpCurl session;
        std::uint32_t status = 0;
        if (session.Init(
                u"GET", shared.wideUrl, [] { return false; }, &shared.config, 0) != S_OK ||
            session.SetProxySettings() != S_OK ||
            session.Engine()->Get(shared.wideUrl.c_str()) != CURLE_OK ||
            session.Engine()->GetResponseCode(&status) != CURLE_OK || status != kOk) {
            state.SkipWithError("a request through a fresh session failed");
            break;
        }
    }
    CountRequests(state);
}
BENCHMARK(FreshSessions)->Iterations(kRequests)->UseRealTime()->Unit(benchmark::kMicrosecond);

struct EasyFree {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
using EasyPtr = std::unique_ptr<CURL, EasyFree>;

std::size_t Discard(char* /*data*/, std::size_t size, std::size_t count, void* /*user*/) {
    return size * count;
}

// A handle for the benchmark's URL that discards the body; `ca` is the test CA's PEM text.
EasyPtr NewHandle(const std::string& url, const std::string& ca) {
    EasyPtr easy(curl_easy_init());
    curl_blob blob{const_cast<char*>(ca.data()), ca.size(), CURL_BLOB_COPY};
    curl_easy_setopt(easy.get(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, &Discard);
    curl_easy_setopt(easy.get(), CURLOPT_CAINFO_BLOB, &blob);
    return easy;
}

bool Succeeds(CURL* easy) {
    long status = 0;
    return curl_easy_perform(easy) == CURLE_OK &&
           curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK && status == kOk;
}

void RawReusedHandle(benchmark::State& state) {
    const std::string& ca = TestCertificates::Shared().Ca().certificatePem;
    const EasyPtr easy = NewHandle(Bench().url, ca);
    // NOLINTNEXTLINE(clang-analyzer-deadcode.DeadStores): the loop variable drives the runs
    for (auto _ : state) {
        if (!Succeeds(easy.get())) {
            state.SkipWithError("a request through the reused handle failed");
            break;
        }
    }
    CountRequests(state);
}
BENCHMARK(RawReusedHandle)->Iterations(kRequests)->UseRealTime()->Unit(benchmark::kMicrosecond);

void RawFreshHandle(benchmark::State& state) {
    const std::string& ca = TestCertificates::Shared().Ca().certificatePem;
    // NOLINTNEXTLINE(clang-analyzer-deadcode.DeadStores): the loop variable drives the runs
    for (auto _ : state) {
        const EasyPtr easy = NewHandle(Bench().url, ca);
        if (!Succeeds(easy.get())) {
            state.SkipWithError("a request through a fresh handle failed");
            break;
        }
    }
    CountRequests(state);
}
BENCHMARK(RawFreshHandle)->Iterations(kRequests)->UseRealTime()->Unit(benchmark::kMicrosecond);

// The console table, and the request rates kept for the ratio.
class RateReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const auto rate = run.counters.find(kRequestsPerSecond);
            if (rate != run.counters.end()) {
                m_rates[run.benchmark_name()] = rate->second.value;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    double Rate(const std::string& prefix) const {
        for (const auto& [name, rate] : m_rates) {
            if (name.rfind(prefix, 0) == 0) {
                return rate;
            }
        }
        return 0;
    }

private:
    std::map<std::string, double> m_rates;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RateReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double fresh = reporter.Rate("FreshSessions");
    const double reused = reporter.Rate("RawReusedHandle");
    const double freshRaw = reporter.Rate("RawFreshHandle");
    if (fresh > 0 && reused > 0) {
        std::printf("(a) fresh sessions / (b) reused handle: %.2f (goal: at least 0.70)\n",
                    fresh / reused);
        hvx::bench::PrintTableRow(
            "HTTPS GETs through fresh sessions", hvx::bench::Figure(fresh, "req/s", 0),
            "one reused libcurl handle " + hvx::bench::Figure(reused, "req/s", 0), fresh / reused,
            hvx::bench::Goal::AtLeast, 0.7);
    }
    if (freshRaw > 0 && reused > 0) {
        std::printf("(b) reused handle / (c) fresh handle with the default CA bundle: %.1f\n",
                    reused / freshRaw);
    }
    benchmark::Shutdown();
    return 0;
}
