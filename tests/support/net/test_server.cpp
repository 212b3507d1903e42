#include "tests/support/net/test_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <openssl/pem.h>

#include <cerrno>
#include <csignal>
#include <stdexcept>
#include <utility>

#include "tests/support/net/http_wire.h"
#include "tests/support/net/socket_stream.h"

namespace hvx::test {
namespace {

constexpr int kListenBacklog = 64;
constexpr std::string_view kSessionContext = "caspo-test-server";

void IgnoreSigpipe() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (std::signal(SIGPIPE, SIG_IGN) == SIG_ERR) {
            throw std::runtime_error("test server: cannot ignore SIGPIPE");
        }
    });
}

SslContextPtr MakeTlsContext(const PemIdentity& identity) {
    SslContextPtr context(SSL_CTX_new(TLS_server_method()));
    const BioPtr certificateBio(BIO_new_mem_buf(identity.certificatePem.data(),
                                                static_cast<int>(identity.certificatePem.size())));
    const BioPtr keyBio(
        BIO_new_mem_buf(identity.keyPem.data(), static_cast<int>(identity.keyPem.size())));
    const X509Ptr certificate(PEM_read_bio_X509(certificateBio.get(), nullptr, nullptr, nullptr));
    const KeyPtr key(PEM_read_bio_PrivateKey(keyBio.get(), nullptr, nullptr, nullptr));
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

TestServer::TestServer() {
    Listen();
}

TestServer::TestServer(const PemIdentity& identity) : m_tls(MakeTlsContext(identity)) {
    Listen();
}

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
    IgnoreSigpipe();
    m_listenFd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    auto* generic = reinterpret_cast<sockaddr*>(&address);
    if (m_listenFd < 0 || bind(m_listenFd, generic, sizeof(address)) != 0 ||
        listen(m_listenFd, kListenBacklog) != 0 || getsockname(m_listenFd, generic, &length) != 0) {
        const int error = errno;
        if (m_listenFd >= 0) {
            close(m_listenFd);
        }
        throw std::runtime_error("test server: cannot listen on 127.0.0.1: " +
                                 std::to_string(error));
    }
    m_port = ntohs(address.sin_port);
    m_acceptThread = std::thread([this] { AcceptLoop(); });
}

void TestServer::AcceptLoop() {
    while (true) {
        const int fd = accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED) {
                continue;
            }
            return;  // the listening socket was shut down
        }
        const std::lock_guard lock(m_mutex);
        if (m_stopping) {
            close(fd);
            return;
        }
        m_openFds.insert(fd);
        m_connections.emplace_back([this, fd] { Serve(fd); });
    }
}

void TestServer::Serve(int fd) {
    SocketStream stream(fd, m_tls.get());
    if (!m_part) {
        ServeConnection(stream);
    } else if (stream.Handshake()) {
        m_part(stream);
    }
    // Forgotten before the stream closes the descriptor, so Stop never shuts down a number that
    // the system has handed out again.
    const std::lock_guard lock(m_mutex);
    m_openFds.erase(fd);
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
    shutdown(m_listenFd, SHUT_RDWR);
    if (m_acceptThread.joinable()) {
        m_acceptThread.join();
    }
    std::vector<std::thread> connections;
    {
        const std::lock_guard lock(m_mutex);
        for (const int fd : m_openFds) {
            shutdown(fd, SHUT_RDWR);
        }
        connections.swap(m_connections);
    }
    for (std::thread& connection : connections) {
        connection.join();
    }
    close(m_listenFd);
}

}  // namespace hvx::test
