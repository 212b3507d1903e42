#include "tests/support/net/socket_stream.h"

namespace hvx::test {

SocketStream::SocketStream(Socket socket, SSL_CTX* tls) : m_socket(socket), m_tls(tls != nullptr) {
    if (tls != nullptr) {
        m_ssl.reset(SSL_new(tls));
        if (m_ssl) {
            // OpenSSL takes a Winsock SOCKET as an int too.
            SSL_set_fd(m_ssl.get(), static_cast<int>(socket));
        }
    }
}

SocketStream::~SocketStream() {
    if (m_ssl && m_handshaken) {
        SSL_shutdown(m_ssl.get());
    }
    m_ssl.reset();
    CloseSocket(m_socket);
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
    return Receive(m_socket, buffer, capacity);
}

bool SocketStream::WriteAll(std::string_view bytes) {
    while (!bytes.empty()) {
        std::size_t written = 0;
        if (m_ssl) {
            if (SSL_write_ex(m_ssl.get(), bytes.data(), bytes.size(), &written) != 1) {
                return false;
            }
        } else {
            written = Send(m_socket, bytes.data(), bytes.size());
            if (written == 0) {
                return false;
            }
        }
        bytes.remove_prefix(written);
    }
    return true;
}

std::uint16_t SocketStream::PeerPort() const {
    return hvx::test::PeerPort(m_socket);
}

bool SocketStream::SessionReused() const {
    return m_ssl != nullptr && SSL_session_reused(m_ssl.get()) == 1;
}

}  // namespace hvx::test
