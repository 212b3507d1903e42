#include "tests/support/local_port.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <stdexcept>

#include "platform/posix/unique_fd.h"

namespace hvx::test {

namespace {

using Socket = os::detail::UniqueFd;

sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

}  // namespace

std::uint16_t FreePort() {
    const Socket probe(::socket(AF_INET, SOCK_STREAM, 0));
    sockaddr_in address = Loopback(0);
    socklen_t length = sizeof address;
    if (probe.Get() < 0 ||
        ::bind(probe.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(probe.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("no free port on 127.0.0.1");
    }
    return ntohs(address.sin_port);
}

bool Accepts(std::uint16_t port) {
    const Socket client(::socket(AF_INET, SOCK_STREAM, 0));
    const sockaddr_in address = Loopback(port);
    return client.Get() >= 0 && ::connect(client.Get(), reinterpret_cast<const sockaddr*>(&address),
                                          sizeof address) == 0;
}

}  // namespace hvx::test
