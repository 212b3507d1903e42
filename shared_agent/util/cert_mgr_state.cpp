// The manager's state, and the library's static initialisation of the certificate code.
#include "shared_agent/util/cert_mgr_state.h"

#include <cstdlib>

#include "shared_agent/util/cert_mgr_loader.h"
#include "shared_agent/util/cert_store_state.h"

namespace hvx::certs {

namespace {

// Constant-initialised, so they outlive the exit-time unload registered below.
constinit std::optional<os::CriticalSection> g_managerLock;
constinit ManagerState g_manager;

void UnloadAtExit() {
    CertMgrLoader::UnloadCertMgr();
}

// Creates both locks (the store lock unless the layer made it first) and registers the
// exit-time unload. The atexit call comes after the state above exists, so it runs before that
// state is destroyed.
bool InitialiseOnLoad() noexcept {
    g_managerLock.emplace();
    InitialiseStoreLock();
    return std::atexit(&UnloadAtExit) == 0;
}
const bool g_initialised = InitialiseOnLoad();

}  // namespace

std::optional<os::CriticalSection>& ManagerLock() {
    return g_managerLock;
}

ManagerState& Manager() {
    return g_manager;
}

}  // namespace hvx::certs
