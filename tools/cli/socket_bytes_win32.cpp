// Windows keeps per-connection byte counts (GetPerTcpConnectionEStats) only once their
// collection has been switched on, which takes an administrator: there is no measure, and the
// progress line is not drawn.
#include "tools/cli/socket_bytes.h"

namespace hvx::cli {

ProgressMeasure SentSinceNow() {
    return {};
}

ProgressMeasure ReceivedSinceNow() {
    return {};
}

}  // namespace hvx::cli
