// One accepted TCP connection of the test server, plain or TLS, closed with the object.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tests/support/net/openssl_ptr.h"
#include "tests/support/net/socket_ops.h"

namespace hvx::test {

class SocketStream {
public:
    // Takes ownership of `socket`. With a TLS context the stream speaks TLS after Handshake().
    SocketStream(Socket socket, SSL_CTX* tls);
    ~SocketStream();

    // The server side of the TLS handshake; true at once for a plain stream.
    bool Handshake();
    // Reads what is there, up to `capacity` bytes; 0 at the end of the stream or on an error.
    std::size_t Read(char* buffer, std::size_t capacity);
    bool WriteAll(std::string_view bytes);

    std::uint16_t PeerPort() const;
    // The socket, for a test that sets its options or waits on it.
    Socket NativeSocket() const { return m_socket; }
    bool SessionReused() const;

private:
    Socket m_socket;
    bool m_tls;
    SslPtr m_ssl;
    // close_notify is sent only after a completed handshake, as OpenSSL requires.
    bool m_handshaken = false;
};

}  // namespace hvx::test
