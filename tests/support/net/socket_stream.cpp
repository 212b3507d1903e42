#include "tests/support/net/socket_stream.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

namespace hvx::test {

SocketStream::SocketStream(int fd, SSL_CTX* tls) : m_fd(fd), m_tls(tls != nullptr) {
    if (tls != nullptr) {
        m_ssl.reset(SSL_new(tls));
        if (m_ssl) {
            SSL_set_fd(m_ssl.get(), fd);
        }
    }
}

SocketStream::~SocketStream() {
    if (m_ssl && m_handshaken) {
        SSL_shutdown(m_ssl.get());
    }
    m_ssl.reset();
    close(m_fd);
}

bool SocketStream::Handshake() {
    m_handshaken = m_ssl ? SSL_accept(m_ssl.get()) == 1 : !m_tls;
    return m_handshaken;
}

std::size_t SocketStream::Read(char* buffer, std::size_t capacity) {
    if (m_ssl) {
        std::size_t read = 0;
        return SSL_read_ex(m_ssl.get(), buffer, capacity, &read) == 1 ? read : 0;
    }
    while (true) {
        const ssize_t read = recv(m_fd, buffer, capacity, 0);
        if (read >= 0 || errno != EINTR) {
            return read > 0 ? static_cast<std::size_t>(read) : 0;
        }
    }
}

bool SocketStream::WriteAll(std::string_view bytes) {
    while (!bytes.empty()) {
        std::size_t written = 0;
        if (m_ssl) {
            if (SSL_write_ex(m_ssl.get(), bytes.data(), bytes.size(), &written) != 1) {
                return false;
            }
        } else {
            const ssize_t sent = send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (sent < 0 && errno == EINTR) {
                continue;
            }
            if (sent <= 0) {
                return false;
            }
            written = static_cast<std::size_t>(sent);
        }
        bytes.remove_prefix(written);
    }
    return true;
}

std::uint16_t SocketStream::PeerPort() const {
    sockaddr_in peer{};
    socklen_t length = sizeof(peer);
    if (getpeername(m_fd, reinterpret_cast<sockaddr*>(&peer), &length) != 0) {
        return 0;
    }
    return ntohs(peer.sin_port);
}

bool SocketStream::SessionReused() const {
    return m_ssl != nullptr && SSL_session_reused(m_ssl.get()) == 1;
}

}  // namespace hvx::test
