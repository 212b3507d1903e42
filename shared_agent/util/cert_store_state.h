// The certificate-store layer's process-wide state: the store lock, the certificates decoded
// from the ROOT store and the configured certificates that are not among them.
#pragma once

#include <vector>

#include "platform/critical_section.h"
#include "shared_agent/util/openssl_holders.h"

namespace hvx::certs {

struct StoreState {
    std::vector<X509Ptr> roots;
    std::vector<X509Ptr> configured;
};

// Creates the store lock unless it exists already. Runs in the library's static
// initialisation, from whichever file gets there first.
void InitialiseStoreLock() noexcept;
[[nodiscard]] bool StoreLockInitialised();
// The store lock; InitialiseStoreLock must have run.
os::CriticalSection& StoreLock();
// The state; read and written only under the store lock.
StoreState& Store();

}  // namespace hvx::certs
