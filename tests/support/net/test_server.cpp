#include "tests/support/net/test_server.h"

#include <stdexcept>
#include <utility>

#include "tests/support/net/http_wire.h"
#include "tests/support/net/socket_stream.h"
#include "tools/certgen/pem_text.h"

namespace hvx::test {
namespace {

constexpr int kListenBacklog = 64;
constexpr std::string_view kSessionContext = "caspo-test-server";

SslContextPtr MakeTlsContext(const PemIdentity& identity) {
    SslContextPtr context(SSL_CTX_new(TLS_server_method()));
    const X509Ptr certificate = certgen::CertificateFromPem(identity.certificatePem);
    const KeyPtr key = certgen::KeyFromPem(identity.keyPem);
    if (!context || !certificate || !key ||
        SSL_CTX_use_certificate(context.get(), certificate.get()) != 1 ||
        SSL_CTX_use_PrivateKey(context.get(), key.get()) != 1 ||
        SSL_CTX_set_session_id_context(
            context.get(), reinterpret_cast<const unsigned char*>(kSessionContext.data()),
            static_cast<unsigned int>(kSessionContext.size())) != 1) {
        throw std::runtime_error("test server: TLS context");
    }
    return context;
}

}  // namespace

TestServer::TestServer() : TestServer(ConnectionPart{}) {}

TestServer::TestServer(const PemIdentity& identity) : TestServer(ConnectionPart{}, &identity) {}

TestServer::TestServer(ConnectionPart part, const PemIdentity* identity)
    : m_part(std::move(part)), m_tls(identity != nullptr ? MakeTlsContext(*identity) : nullptr) {
    Listen();
}

TestServer::~TestServer() {
    Stop();
}

std::string TestServer::Url(std::string_view target) const {
    return std::string(m_tls ? "https" : "http") + "://127.0.0.1:" + std::to_string(m_port) +
           std::string(target);
}

void TestServer::Enqueue(ScriptedResponse response) {
    const std::lock_guard lock(m_mutex);
    m_script.push_back(std::move(response));
}

void TestServer::SetDefaultResponse(ScriptedResponse response) {
    const std::lock_guard lock(m_mutex);
    m_default = std::move(response);
}

std::vector<RecordedRequest> TestServer::Requests() const {
    const std::lock_guard lock(m_mutex);
    return m_requests;
}

bool TestServer::WaitForRequests(std::size_t count, std::chrono::milliseconds limit) const {
    std::unique_lock lock(m_mutex);
    return m_arrived.wait_for(lock, limit, [&] { return m_requests.size() >= count; });
}

void TestServer::Listen() {
    int error = 0;
    m_listener = ListenOnLoopback(kListenBacklog, m_port, error);
    if (m_listener == kNoSocket) {
        throw std::runtime_error("test server: cannot listen on 127.0.0.1: " +
                                 std::to_string(error));
    }
    m_acceptThread = std::thread([this] { AcceptLoop(); });
}

void TestServer::AcceptLoop() {
    while (true) {
        const Socket connection = AcceptConnection(m_listener);
        if (connection == kNoSocket) {
            return;
        }
        const std::lock_guard lock(m_mutex);
        if (m_stopping) {
            CloseSocket(connection);
            return;
        }
        m_openSockets.insert(connection);
        m_connections.emplace_back([this, connection] { Serve(connection); });
    }
}

void TestServer::Serve(Socket socket) {
    SocketStream stream(socket, m_tls.get());
    if (!m_part) {
        ServeConnection(stream);
    } else if (stream.Handshake()) {
        m_part(stream);
    }
    // Forgotten before the stream closes the socket, so Stop never shuts down a number that
    // the system has handed out again.
    const std::lock_guard lock(m_mutex);
    m_openSockets.erase(socket);
}

void TestServer::ServeConnection(SocketStream& stream) {
    if (!stream.Handshake()) {
        return;
    }
    const std::uint16_t port = stream.PeerPort();
    const bool resumed = stream.SessionReused();
    std::string pending;
    while (true) {
        RecordedRequest request;
        request.clientPort = port;
        request.tlsSessionReused = resumed;
        if (!ReadRequest(stream, pending, request)) {
            return;
        }
        const bool clientCloses = ClientCloses(request);
        const ScriptedResponse response = Record(std::move(request));
        if (!Answer(stream, response) || response.closeConnection || response.closeAfterBodyBytes ||
            clientCloses) {
            return;
        }
    }
}

ScriptedResponse TestServer::Record(RecordedRequest request) {
    const std::lock_guard lock(m_mutex);
    m_requests.push_back(std::move(request));
    m_arrived.notify_all();
    if (m_script.empty()) {
        return m_default;
    }
    ScriptedResponse next = std::move(m_script.front());
    m_script.pop_front();
    return next;
}

bool TestServer::Answer(SocketStream& stream, const ScriptedResponse& response) {
    if (response.neverAnswer) {
        std::unique_lock lock(m_mutex);
        m_stopped.wait(lock, [this] { return m_stopping; });
        return false;
    }
    std::string_view body = response.Body();
    if (response.closeAfterBodyBytes) {
        body = body.substr(0, *response.closeAfterBodyBytes);
    }
    return stream.WriteAll(ResponseHead(response)) && stream.WriteAll(body);
}

void TestServer::Stop() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_stopped.notify_all();
    WakeAccept(m_listener, m_port);
    if (m_acceptThread.joinable()) {
        m_acceptThread.join();
    }
    std::vector<std::thread> connections;
    {
        const std::lock_guard lock(m_mutex);
        for (const Socket socket : m_openSockets) {
            ShutdownSocket(socket);
        }
        connections.swap(m_connections);
    }
    for (std::thread& connection : connections) {
        connection.join();
    }
    CloseSocket(m_listener);
}

}  // namespace hvx::test
