// caspo-backend as a library: the reference backend's HTTP and HTTPS servers, on cpp-httplib,
// for the program and for tests that run it in-process.
//
// Start() prepares the TLS folder (when one is given), registers every route family on each
// server, binds the ports and serves on threads of its own; Stop() (or destruction) ends the
// servers, cuts short the waits of slow answers and streams, and joins every thread. A Backend
// starts once. Starting ignores SIGPIPE in the process: a client that hangs up must not kill the
// server.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tools/backend/backend_options.h"
#include "tools/backend/route_family.h"
#include "tools/backend/stop_signal.h"

namespace hvx::backend {

struct Listener {
    std::string scheme;  // "http" or "https"
    std::string url;     // "http://127.0.0.1:41234", no trailing slash
    std::uint16_t port = 0;
};

class Backend {
public:
    explicit Backend(BackendOptions options);
    ~Backend();
    Backend(const Backend&) = delete;
    Backend& operator=(const Backend&) = delete;
    Backend(Backend&&) = delete;
    Backend& operator=(Backend&&) = delete;

    // Empty when every listener is up; otherwise what failed, and nothing is left running.
    [[nodiscard]] std::string Start();
    void Stop();

    // The listeners once started: HTTP first, then HTTPS when there is a TLS folder.
    const std::vector<Listener>& Listeners() const { return m_listeners; }
    // DIR/ca.pem and DIR/trust.json, with a TLS folder.
    std::optional<std::filesystem::path> CaFile() const;
    std::optional<std::filesystem::path> TrustFile() const;
    // True when Start made a new CA rather than reusing the folder's.
    bool MadeNewCa() const { return m_madeNewCa; }

private:
    struct Served;

    [[nodiscard]] std::string MakeServers();
    [[nodiscard]] std::string Bind(Served& served) const;
    static void Run(Served& served);

    BackendOptions m_options;
    StopSignal m_stop;
    std::vector<std::unique_ptr<RouteFamily>> m_families;
    std::vector<std::unique_ptr<Served>> m_served;
    std::vector<Listener> m_listeners;
    bool m_madeNewCa = false;
};

}  // namespace hvx::backend
