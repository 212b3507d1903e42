// The bytes this process's TCP connections have moved, from the kernel's counters (TCP_INFO):
// what the library sends or receives, watched from outside it. Linux only.
#pragma once

#include <cstdint>

#include "tools/cli/transfer_progress.h"

namespace hvx::cli {

// Bytes the peers acknowledged, over every TCP socket open now.
std::uint64_t BytesSent();
// Bytes received, over every TCP socket open now.
std::uint64_t BytesReceived();

// The counters above as progress measures that start from 0 now (sockets that close drop out).
ProgressMeasure SentSinceNow();
ProgressMeasure ReceivedSinceNow();

}  // namespace hvx::cli
