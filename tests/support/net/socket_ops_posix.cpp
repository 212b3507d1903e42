#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <mutex>
#include <stdexcept>

#include "tests/support/net/socket_ops.h"

namespace hvx::test {

namespace {

int Fd(Socket socket) {
    return static_cast<int>(socket);
}

void IgnoreSigpipe() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (std::signal(SIGPIPE, SIG_IGN) == SIG_ERR) {
            throw std::runtime_error("test server: cannot ignore SIGPIPE");
        }
    });
}

}  // namespace

Socket ListenOnLoopback(int backlog, std::uint16_t& port, int& error) {
    IgnoreSigpipe();
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    auto* generic = reinterpret_cast<sockaddr*>(&address);
    if (fd < 0 || bind(fd, generic, sizeof(address)) != 0 || listen(fd, backlog) != 0 ||
        getsockname(fd, generic, &length) != 0) {
        error = errno;
        if (fd >= 0) {
            close(fd);
        }
        return kNoSocket;
    }
    port = ntohs(address.sin_port);
    return fd;
}

Socket AcceptConnection(Socket listener) {
    while (true) {
        const int fd = accept4(Fd(listener), nullptr, nullptr, SOCK_CLOEXEC);
        if (fd >= 0) {
            return fd;
        }
        if (errno != EINTR && errno != ECONNABORTED) {
            return kNoSocket;  // the listening socket was shut down
        }
    }
}

void WakeAccept(Socket listener, std::uint16_t /*port*/) {
    shutdown(Fd(listener), SHUT_RDWR);
}

std::size_t Receive(Socket socket, char* buffer, std::size_t capacity) {
    while (true) {
        const ssize_t read = recv(Fd(socket), buffer, capacity, 0);
        if (read >= 0 || errno != EINTR) {
            return read > 0 ? static_cast<std::size_t>(read) : 0;
        }
    }
}

std::size_t Send(Socket socket, const char* data, std::size_t size) {
    while (true) {
        const ssize_t sent = send(Fd(socket), data, size, MSG_NOSIGNAL);
        if (sent >= 0 || errno != EINTR) {
            return sent > 0 ? static_cast<std::size_t>(sent) : 0;
        }
    }
}

void ShutdownSocket(Socket socket) {
    shutdown(Fd(socket), SHUT_RDWR);
}

void CloseSocket(Socket socket) {
    close(Fd(socket));
}

std::uint16_t PeerPort(Socket socket) {
    sockaddr_in peer{};
    socklen_t length = sizeof(peer);
    if (getpeername(Fd(socket), reinterpret_cast<sockaddr*>(&peer), &length) != 0) {
        return 0;
    }
    return ntohs(peer.sin_port);
}

}  // namespace hvx::test
