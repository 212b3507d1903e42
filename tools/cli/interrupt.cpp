#include "tools/cli/interrupt.h"

#include <atomic>
#include <csignal>

namespace hvx::cli {

namespace {

std::atomic<bool> g_raised{false};
static_assert(std::atomic<bool>::is_always_lock_free, "read from a signal handler");

void OnInterrupt(int /*signal*/) {
    g_raised.store(true);
}

struct sigaction g_previous {};

}  // namespace

InterruptWatch::InterruptWatch() {
    g_raised.store(false);
    struct sigaction action {};
    action.sa_handler = &OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, &g_previous);
}

InterruptWatch::~InterruptWatch() {
    sigaction(SIGINT, &g_previous, nullptr);
}

bool InterruptWatch::Raised() {
    return g_raised.load();
}

ShutdownCallback InterruptWatch::Callback() {
    return [] { return g_raised.load(); };
}

}  // namespace hvx::cli
