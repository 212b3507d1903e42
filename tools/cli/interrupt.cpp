#include "tools/cli/interrupt.h"

#include <atomic>
#include <csignal>

namespace hvx::cli {

namespace {

std::atomic<bool> g_raised{false};
static_assert(std::atomic<bool>::is_always_lock_free, "read from a signal handler");

// The first interrupt is noted; the next one ends the program as if nobody listened.
void OnInterrupt(int signal) {
    std::signal(signal, SIG_DFL);
    g_raised.store(true);
}

using Handler = void (*)(int);
Handler g_previous = SIG_DFL;

}  // namespace

InterruptWatch::InterruptWatch() {
    g_raised.store(false);
    g_previous = std::signal(SIGINT, &OnInterrupt);
}

InterruptWatch::~InterruptWatch() {
    std::signal(SIGINT, g_previous == SIG_ERR ? SIG_DFL : g_previous);
}

bool InterruptWatch::Raised() {
    return g_raised.load();
}

ShutdownCallback InterruptWatch::Callback() {
    return [] { return g_raised.load(); };
}

}  // namespace hvx::cli
