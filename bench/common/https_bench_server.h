// The HTTPS server of the small-request benchmarks: cpp-httplib with the test server certificate,
// answering GET /bench with a short text, Nagle off, and keep-alive on and never cut short, so
// that a request costs what the client makes it cost; or a connection per request, as a server
// that an agent calls every few minutes has long closed the last one.
#pragma once

#include <httplib.h>

#include <cstddef>
#include <string>
#include <thread>

#include "tests/support/net/test_certs.h"

namespace hvx::bench {

enum class Connections { kKeptAlive, kOnePerRequest };

class BenchHttpsServer {
public:
    explicit BenchHttpsServer(Connections connections = Connections::kKeptAlive)
        : m_server(test::TestCertificates::Shared().Server().certificateFile.c_str(),
                   test::TestCertificates::Shared().Server().keyFile.c_str()) {
        m_server.set_tcp_nodelay(true);
        m_server.set_keep_alive_max_count(
            connections == Connections::kOnePerRequest ? 1 : kKeepAliveRequests);
        m_server.Get("/bench", [](const httplib::Request&, httplib::Response& response) {
            response.set_content("small answer", "text/plain");
        });
        m_port = m_server.bind_to_any_port("127.0.0.1");
        // The socket listens from here on; connections wait in its backlog until the loop runs.
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
    }
    ~BenchHttpsServer() {
        m_server.stop();
        m_thread.join();
    }
    BenchHttpsServer(const BenchHttpsServer&) = delete;
    BenchHttpsServer& operator=(const BenchHttpsServer&) = delete;
    BenchHttpsServer(BenchHttpsServer&&) = delete;
    BenchHttpsServer& operator=(BenchHttpsServer&&) = delete;

    [[nodiscard]] std::string Url() const {
        return "https://127.0.0.1:" + std::to_string(m_port) + "/bench";
    }

private:
    static constexpr std::size_t kKeepAliveRequests = 1000000;
    httplib::SSLServer m_server;
    int m_port = 0;
    std::thread m_thread;
};

}  // namespace hvx::bench
