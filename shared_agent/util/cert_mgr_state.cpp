// The manager's state, and the library's static initialisation of the certificate code.
#include "shared_agent/util/cert_mgr_state.h"

#include "shared_agent/util/cert_mgr_loader.h"
#include "shared_agent/util/cert_store_state.h"

namespace hvx::certs {

namespace {

// Constant-initialised, so they outlive the exit-time unload registered below.
constinit std::optional<os::CriticalSection> g_managerLock;
constinit ManagerState g_manager;

// The library's static initialisation and its exit-time unload. Its constructor creates both
// locks (the store lock unless the layer made it first). Its destructor, as a static object's,
// is registered for this module: it runs when the module is unloaded as well as at exit, never
// after the module's code is gone, as an atexit handler of the module could. It is made after
// the state above, so it runs before that state is destroyed.
class LoadAndExit {
public:
    LoadAndExit() noexcept {
        g_managerLock.emplace();
        InitialiseStoreLock();
    }
    ~LoadAndExit() { CertMgrLoader::UnloadCertMgr(); }
    LoadAndExit(const LoadAndExit&) = delete;
    LoadAndExit& operator=(const LoadAndExit&) = delete;
    LoadAndExit(LoadAndExit&&) = delete;
    LoadAndExit& operator=(LoadAndExit&&) = delete;
};
const LoadAndExit g_loadAndExit;

}  // namespace

std::optional<os::CriticalSection>& ManagerLock() {
    return g_managerLock;
}

ManagerState& Manager() {
    return g_manager;
}

}  // namespace hvx::certs
