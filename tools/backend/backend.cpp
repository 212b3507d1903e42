#include "tools/backend/backend.h"

#include <chrono>
#include <csignal>

#include "tools/backend/request_log.h"
#include "tools/backend/route_families.h"
#include "tools/backend/tls_folder.h"

namespace hvx::backend {
namespace {

// Each connection holds a worker for as long as it is kept alive.
constexpr std::size_t kWorkerThreads = 16;
constexpr std::size_t kRequestsPerConnection = 100;
// A stop waits for idle kept-alive connections at most this long.
constexpr time_t kKeepAliveSeconds = 2;
constexpr std::chrono::milliseconds kStartPoll{1};

std::string UrlHost(const std::string& address) {
    return address.find(':') == std::string::npos ? address : "[" + address + "]";
}

}  // namespace

struct Backend::Served {
    std::unique_ptr<httplib::Server> server;
    std::string scheme;
    std::uint16_t wantedPort = 0;
    std::uint16_t port = 0;
    std::thread thread;
    std::atomic<bool> ended{false};
};

Backend::Backend(BackendOptions options) : m_options(std::move(options)) {}

Backend::~Backend() {
    Stop();
}

std::string Backend::Start() {
    if (std::signal(SIGPIPE, SIG_IGN) == SIG_ERR) {
        return "cannot ignore SIGPIPE";
    }
    auto made = MakeRouteFamilies(m_options, m_stop);
    if (!made.problem.empty()) {
        return made.problem;
    }
    m_families = std::move(made.families);
    if (auto problem = MakeServers(); !problem.empty()) {
        return problem;
    }
    for (const auto& served : m_served) {
        auto problem = Bind(*served);
        if (problem.empty()) {
            Run(*served);
            problem = served->ended ? "the " + served->scheme + " server ended at once" : "";
        }
        if (!problem.empty()) {
            Stop();
            return problem;
        }
        m_listeners.push_back({served->scheme,
                               served->scheme + "://" + UrlHost(m_options.listenAddress) + ":" +
                                   std::to_string(served->port),
                               served->port});
    }
    return {};
}

void Backend::Stop() {
    m_stop.Raise();
    for (const auto& served : m_served) {
        if (served->thread.joinable()) {
            served->server->stop();
            served->thread.join();
        }
    }
}

std::optional<std::filesystem::path> Backend::CaFile() const {
    return m_options.tlsDir ? std::optional(*m_options.tlsDir / kCaFileName) : std::nullopt;
}

std::optional<std::filesystem::path> Backend::TrustFile() const {
    return m_options.tlsDir ? std::optional(*m_options.tlsDir / kTrustFileName) : std::nullopt;
}

std::string Backend::MakeServers() {
    auto http = std::make_unique<Served>();
    http->server = std::make_unique<httplib::Server>();
    http->scheme = "http";
    http->wantedPort = m_options.httpPort;
    m_served.push_back(std::move(http));
    if (m_options.tlsDir) {
        const TlsFolder tls = PrepareTlsFolder(*m_options.tlsDir);
        if (!tls.identity) {
            return tls.problem;
        }
        m_madeNewCa = tls.identity->madeNew;
        auto https = std::make_unique<Served>();
        // The server's TLS context takes its own references to the certificate and the key.
        https->server = std::make_unique<httplib::SSLServer>(tls.identity->certificate.get(),
                                                             tls.identity->key.get());
        if (!https->server->is_valid()) {
            return "the server certificate in " + m_options.tlsDir->string() + " is not usable";
        }
        https->scheme = "https";
        https->wantedPort = m_options.httpsPort;
        m_served.push_back(std::move(https));
    }
    for (const auto& served : m_served) {
        httplib::Server& server = *served->server;
        server.new_task_queue = [] { return new httplib::ThreadPool(kWorkerThreads); };
        server.set_keep_alive_max_count(kRequestsPerConnection);
        server.set_keep_alive_timeout(kKeepAliveSeconds);
        if (m_options.verbose) {
            server.set_logger(MakeRequestLog(served->scheme));
        }
        for (const auto& family : m_families) {
            family->Register(server);
        }
    }
    return {};
}

std::string Backend::Bind(Served& served) const {
    httplib::Server& server = *served.server;
    const std::string& host = m_options.listenAddress;
    const int port = served.wantedPort == 0                         ? server.bind_to_any_port(host)
                     : server.bind_to_port(host, served.wantedPort) ? served.wantedPort
                                                                    : -1;
    if (port <= 0) {
        return "cannot listen for " + served.scheme + " on " + UrlHost(host) + ":" +
               std::to_string(served.wantedPort);
    }
    served.port = static_cast<std::uint16_t>(port);
    return {};
}

// cpp-httplib's stop() does nothing before the server runs, so Start waits until it does (or
// has already given up) before anyone can stop it.
void Backend::Run(Served& served) {
    served.thread = std::thread([&served] {
        served.server->listen_after_bind();
        served.ended = true;
    });
    while (!served.server->is_running() && !served.ended) {
        std::this_thread::sleep_for(kStartPoll);
    }
}

}  // namespace hvx::backend
