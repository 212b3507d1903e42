// The bytes this process's TCP connections have moved, from the kernel's counters (TCP_INFO):
// what the library sends or receives, watched from outside it. Linux only: Windows gives an
// unprivileged process no byte counts of its own connections, and there the measures below are
// empty, so no progress line is drawn (socket_bytes_win32.cpp).
#pragma once

#include <cstdint>

#include "tools/cli/transfer_progress.h"

namespace hvx::cli {

// Bytes the peers acknowledged (Linux), over every TCP socket open now.
std::uint64_t BytesSent();
// Bytes received (Linux), over every TCP socket open now.
std::uint64_t BytesReceived();

// The counters above as progress measures that start from 0 now (sockets that close drop out).
ProgressMeasure SentSinceNow();
ProgressMeasure ReceivedSinceNow();

}  // namespace hvx::cli
