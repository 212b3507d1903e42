// One connection of the hostile server (a TestServer playing a ConnectionPart), as the part sees
// it: read the request head, then answer wrongly, drip, stream without end, go silent or reset.
// Every operation gives false once the client has gone or the server is stopping.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "tests/support/net/socket_stream.h"

namespace hvx::test {

class HostilePeer {
public:
    explicit HostilePeer(SocketStream& stream) : m_stream(stream) {}

    // Reads the request head, up to its empty line.
    bool ReadHead();
    // Reads `count` bytes of the request body.
    bool ReadBody(std::size_t count);
    bool Send(std::string_view bytes) { return m_stream.WriteAll(bytes); }
    // Sends `bytes` at `perSecond` bytes a second.
    bool Drip(std::string_view bytes, int perSecond);
    // Sends `blocks` blocks of 64 KiB (0: without end) at `perSecond` blocks a second (0: as fast
    // as the client takes them).
    bool Stream(std::uint64_t blocks, int perSecond);
    // Sends nothing until the client hangs up or the server stops.
    void Hold();
    // Makes the end of the connection, when the part returns, a TCP reset.
    void Reset();

private:
    // Reads until `enough` says the pending bytes hold what is wanted; false when the connection
    // ends first.
    bool Fill(const std::function<bool()>& enough);
    // Waits `milliseconds`; false when the connection ends first.
    bool Pause(int milliseconds);
    // The connection's descriptor (the hostile suite runs on POSIX only).
    int Fd() const { return static_cast<int>(m_stream.NativeSocket()); }

    SocketStream& m_stream;
    std::string m_pending;
};

// What the server does on each connection.
using HostilePart = std::function<void(HostilePeer&)>;

}  // namespace hvx::test
