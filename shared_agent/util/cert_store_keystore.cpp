// Installing the held certificates into a TLS trust store, and freeing them.
#include <openssl/err.h>

#include "shared_agent/util/cert_store.h"
#include "shared_agent/util/cert_store_log.h"
#include "shared_agent/util/cert_store_state.h"
#include "support/trace_levels.h"

namespace hvx {

namespace {

// A certificate the store has already (or one it refuses) leaves an error in the queue; the
// next one is added all the same.
void Add(X509_STORE* store, X509* certificate) {
    if (X509_STORE_add_cert(store, certificate) != 1) {
        ERR_clear_error();
    }
}

}  // namespace

void cert_add_from_keystore(X509_STORE* store, X509* extra) {
    os::CriticalSectionLock lock(certs::StoreLock());
    const certs::StoreState& held = certs::Store();
    if (held.roots.empty()) {
        certs::trace(kTraceAll,
                     "cert_add_from_keystore: Certificates have not been loaded from the Keychain");
        return;
    }
    if (store == nullptr) {
        hvx_error("cert_add_from_keystore: Invalid argument - X509_STORE is NULL");
        return;
    }
    for (const X509Ptr& root : held.roots) {
        Add(store, root.get());
    }
    for (const X509Ptr& configured : held.configured) {
        Add(store, configured.get());
    }
    if (extra != nullptr) {
        Add(store, extra);
    }
}

int cert_store_unload() {
    if (!certs::StoreLockInitialised()) {
        return 0;
    }
    os::CriticalSectionLock lock(certs::StoreLock());
    certs::Store().roots = std::vector<X509Ptr>();
    certs::Store().configured = std::vector<X509Ptr>();
    return 0;
}

CertStoreCounts cert_store_counts() {
    os::CriticalSectionLock lock(certs::StoreLock());
    return {certs::Store().roots.size(), certs::Store().configured.size()};
}

}  // namespace hvx
