// The socket calls of the test server, on the system's own sockets: BSD sockets on POSIX
// (socket_ops_posix.cpp), Winsock on Windows (socket_ops_win32.cpp).
#pragma once

#include <cstddef>
#include <cstdint>

namespace hvx::test {

// A socket: the descriptor on POSIX, the SOCKET on Windows.
using Socket = std::intptr_t;
inline constexpr Socket kNoSocket = -1;

// A TCP socket listening on 127.0.0.1 on a port the system picks (written to `port`);
// kNoSocket with the system's error number in `error` when it cannot listen. Broken pipes never
// end the process (SIGPIPE is ignored on POSIX; Winsock is started on Windows).
Socket ListenOnLoopback(int backlog, std::uint16_t& port, int& error);
// The next connection; kNoSocket once the listener no longer accepts (see WakeAccept).
Socket AcceptConnection(Socket listener);
// Makes a pending or later AcceptConnection on the listener return; `port` is its port.
void WakeAccept(Socket listener, std::uint16_t port);

// Up to `capacity` bytes; 0 at the end of the stream or on an error.
std::size_t Receive(Socket socket, char* buffer, std::size_t capacity);
// Some of the bytes; 0 on an error.
std::size_t Send(Socket socket, const char* data, std::size_t size);
// Ends both directions, so that a thread reading the socket returns.
void ShutdownSocket(Socket socket);
void CloseSocket(Socket socket);
// The peer's port; 0 when unknown.
std::uint16_t PeerPort(Socket socket);

}  // namespace hvx::test
