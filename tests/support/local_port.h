// Ports of 127.0.0.1 for the peers that tests start.
#pragma once

#include <cstdint>

namespace hvx::test {

// A port nobody listens on right now: the system picks it for a socket that is closed again.
// Throws std::runtime_error when there is none.
std::uint16_t FreePort();

// Whether something accepts connections on the port.
bool Accepts(std::uint16_t port);

}  // namespace hvx::test
