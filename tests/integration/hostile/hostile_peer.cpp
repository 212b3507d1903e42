#include "tests/integration/hostile/hostile_peer.h"

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <chrono>

namespace hvx::test {
namespace {

constexpr std::string_view kHeadEnd = "\r\n\r\n";
constexpr std::size_t kMaxHeadBytes = std::size_t{1} << 20U;
constexpr std::size_t kBlockBytes = std::size_t{64} << 10U;
constexpr int kMillisecondsPerSecond = 1000;
constexpr int kForever = 3600 * kMillisecondsPerSecond;

}  // namespace

bool HostilePeer::Fill(const std::function<bool()>& enough) {
    std::array<char, 16384> chunk{};
    while (!enough()) {
        const std::size_t read = m_stream.Read(chunk.data(), chunk.size());
        if (read == 0) {
            return false;
        }
        m_pending.append(chunk.data(), read);
    }
    return true;
}

// A head longer than kMaxHeadBytes ends the connection.
bool HostilePeer::ReadHead() {
    std::size_t end = std::string::npos;
    if (!Fill([&] {
            end = m_pending.find(kHeadEnd);
            return end != std::string::npos || m_pending.size() >= kMaxHeadBytes;
        }) ||
        end == std::string::npos) {
        return false;
    }
    m_pending.erase(0, end + kHeadEnd.size());
    return true;
}

bool HostilePeer::ReadBody(std::size_t count) {
    if (!Fill([&] { return m_pending.size() >= count; })) {
        return false;
    }
    m_pending.erase(0, count);
    return true;
}

bool HostilePeer::Drip(std::string_view bytes, int perSecond) {
    for (const char byte : bytes) {
        if (!Send(std::string_view(&byte, 1)) || !Pause(kMillisecondsPerSecond / perSecond)) {
            return false;
        }
    }
    return true;
}

bool HostilePeer::Stream(std::uint64_t blocks, int perSecond) {
    const std::string block(kBlockBytes, 'x');
    for (std::uint64_t sent = 0; blocks == 0 || sent < blocks; ++sent) {
        if (!Send(block) || (perSecond > 0 && !Pause(kMillisecondsPerSecond / perSecond))) {
            return false;
        }
    }
    return true;
}

void HostilePeer::Hold() {
    while (Pause(kForever)) {
    }
}

void HostilePeer::Reset() {
    // A close with a zero linger time sends RST instead of FIN.
    const linger immediately{.l_onoff = 1, .l_linger = 0};
    setsockopt(Fd(), SOL_SOCKET, SO_LINGER, &immediately, sizeof(immediately));
}

bool HostilePeer::Pause(int milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return true;
        }
        // Readable means the client sent more, hung up, or the server shut the socket down;
        // anything it sends now is dropped.
        pollfd watch{.fd = Fd(), .events = POLLIN, .revents = 0};
        if (poll(&watch, 1, static_cast<int>(left.count())) != 0) {
            std::array<char, 4096> drop{};
            if ((watch.revents & POLLIN) == 0 || m_stream.Read(drop.data(), drop.size()) == 0) {
                return false;
            }
        }
    }
}

}  // namespace hvx::test
