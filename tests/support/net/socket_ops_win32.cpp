// Winsock. A blocked accept() is not ended by shutting its socket down, so WakeAccept connects
// to the listener instead; the accept loop then sees that the server stops. A blocked recv()
// (the test server's, or OpenSSL's inside SSL_read) is not ended by shutdown() either: its
// pending operation is cancelled, and the shutdown makes every later call return at once.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <climits>
#include <mutex>
#include <stdexcept>

#include "tests/support/net/socket_ops.h"

namespace hvx::test {

namespace {

constexpr WORD kWinsockVersion = MAKEWORD(2, 2);

SOCKET Handle(Socket socket) {
    return static_cast<SOCKET>(socket);
}

Socket FromHandle(SOCKET socket) {
    return socket == INVALID_SOCKET ? kNoSocket : static_cast<Socket>(socket);
}

// Started once for the process and left running: the servers of a test program come and go.
void StartWinsock() {
    static std::once_flag once;
    std::call_once(once, [] {
        WSADATA data{};
        if (WSAStartup(kWinsockVersion, &data) != 0) {
            throw std::runtime_error("test server: WSAStartup failed");
        }
    });
}

sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}

}  // namespace

Socket ListenOnLoopback(int backlog, std::uint16_t& port, int& error) {
    StartWinsock();
    const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = Loopback(0);
    int length = sizeof(address);
    auto* generic = reinterpret_cast<sockaddr*>(&address);
    if (listener == INVALID_SOCKET || bind(listener, generic, sizeof(address)) != 0 ||
        listen(listener, backlog) != 0 || getsockname(listener, generic, &length) != 0) {
        error = WSAGetLastError();
        if (listener != INVALID_SOCKET) {
            closesocket(listener);
        }
        return kNoSocket;
    }
    port = ntohs(address.sin_port);
    return FromHandle(listener);
}

Socket AcceptConnection(Socket listener) {
    while (true) {
        const SOCKET connection = accept(Handle(listener), nullptr, nullptr);
        if (connection != INVALID_SOCKET) {
            return FromHandle(connection);
        }
        if (WSAGetLastError() != WSAECONNRESET) {
            return kNoSocket;
        }
    }
}

void WakeAccept(Socket /*listener*/, std::uint16_t port) {
    const SOCKET client = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (client == INVALID_SOCKET) {
        return;
    }
    const sockaddr_in address = Loopback(port);
    connect(client, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
    closesocket(client);
}

std::size_t Receive(Socket socket, char* buffer, std::size_t capacity) {
    const int wanted = capacity > INT_MAX ? INT_MAX : static_cast<int>(capacity);
    const int read = recv(Handle(socket), buffer, wanted, 0);
    return read > 0 ? static_cast<std::size_t>(read) : 0;
}

std::size_t Send(Socket socket, const char* data, std::size_t size) {
    const int wanted = size > INT_MAX ? INT_MAX : static_cast<int>(size);
    const int sent = send(Handle(socket), data, wanted, 0);
    return sent > 0 ? static_cast<std::size_t>(sent) : 0;
}

void ShutdownSocket(Socket socket) {
    shutdown(Handle(socket), SD_BOTH);
    CancelIoEx(reinterpret_cast<HANDLE>(Handle(socket)), nullptr);
}

void CloseSocket(Socket socket) {
    closesocket(Handle(socket));
}

std::uint16_t PeerPort(Socket socket) {
    sockaddr_in peer{};
    int length = sizeof(peer);
    if (getpeername(Handle(socket), reinterpret_cast<sockaddr*>(&peer), &length) != 0) {
        return 0;
    }
    return ntohs(peer.sin_port);
}

}  // namespace hvx::test
