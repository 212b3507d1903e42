// A scriptable HTTP and HTTPS server on 127.0.0.1, on a port the system picks, for tests.
//
// The test scripts each answer (status, headers, body of any size, a connection closed
// after N body bytes, no answer at all) and reads back every request as it arrived: method,
// target, header lines in wire order, raw body bytes, the client's port (the same port means the
// same connection) and, for HTTPS, whether the TLS session was resumed.
//
// It is written on plain sockets and OpenSSL rather than on an HTTP library because tests assert
// on exactly what a library would normalise away: header order and spelling, the raw body, and
// which connection carried a request.
//
// Each connection is served on a thread of its own, so a silent answer on one never holds up
// another. Destruction stops everything: the listening socket and every connection are shut
// down and every thread is joined. A client that hangs up early cannot kill the test program
// (socket_ops.h).
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "tests/support/net/http_exchange.h"
#include "tests/support/net/openssl_ptr.h"
#include "tests/support/net/socket_ops.h"
#include "tests/support/net/test_certs.h"

namespace hvx::test {

class SocketStream;

// A part that takes over each connection once it is open (after the TLS handshake), instead of
// the scripted answers: for servers that misbehave in ways no script describes.
using ConnectionPart = std::function<void(SocketStream& stream)>;

class TestServer {
public:
    // A plain HTTP server. Throws std::runtime_error when it cannot listen.
    TestServer();
    // An HTTPS server presenting `identity` (see test_certs.h).
    explicit TestServer(const PemIdentity& identity);
    // A server that plays `part` on every connection, over TLS when `identity` is given. Stop
    // shuts the connections down, so a part that waits must watch its stream.
    explicit TestServer(ConnectionPart part, const PemIdentity* identity = nullptr);
    ~TestServer();

    std::uint16_t Port() const { return m_port; }
    // "http://127.0.0.1:<port>" or "https://..." followed by `target` ("/path?query").
    std::string Url(std::string_view target = "/") const;

    // Answers the next requests in order, one script entry each.
    void Enqueue(ScriptedResponse response);
    // The answer once the queue is empty; at first 200 with an empty body.
    void SetDefaultResponse(ScriptedResponse response);

    // Every request received so far, in arrival order.
    std::vector<RecordedRequest> Requests() const;
    // Waits until `count` requests have arrived (a request is recorded before it is answered);
    // false if they have not within `limit`. For clients that run on another thread.
    bool WaitForRequests(std::size_t count, std::chrono::milliseconds limit) const;

private:
    void Listen();
    void AcceptLoop();
    void Serve(Socket socket);
    void ServeConnection(SocketStream& stream);
    ScriptedResponse Record(RecordedRequest request);
    bool Answer(SocketStream& stream, const ScriptedResponse& response);
    void Stop();

    ConnectionPart m_part;
    SslContextPtr m_tls;
    Socket m_listener = kNoSocket;
    std::uint16_t m_port = 0;

    mutable std::mutex m_mutex;
    std::condition_variable m_stopped;
    mutable std::condition_variable m_arrived;
    bool m_stopping = false;
    std::deque<ScriptedResponse> m_script;
    ScriptedResponse m_default;
    std::vector<RecordedRequest> m_requests;
    std::set<Socket> m_openSockets;
    std::vector<std::thread> m_connections;

    std::thread m_acceptThread;
};

}  // namespace hvx::test
