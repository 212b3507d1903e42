#include "shared_agent/util/cert_store_state.h"

#include <optional>

namespace hvx::certs {

namespace {

// Constant-initialised, so they exist before any static initialisation runs and are destroyed
// only after the exit-time unload has used them.
constinit std::optional<os::CriticalSection> g_storeLock;
constinit StoreState g_store;

// The store lock is made here too, so it exists whichever file's initialisation runs first.
const bool g_storeLockMade = (InitialiseStoreLock(), true);

}  // namespace

void InitialiseStoreLock() noexcept {
    if (!g_storeLock) {
        g_storeLock.emplace();
    }
}

bool StoreLockInitialised() {
    return g_storeLock.has_value();
}

os::CriticalSection& StoreLock() {
    return *g_storeLock;
}

StoreState& Store() {
    return g_store;
}

}  // namespace hvx::certs
