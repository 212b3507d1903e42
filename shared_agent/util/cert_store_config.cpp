// _set_config_certs: the configured trusted certificates that the ROOT store lacks.
#include <algorithm>
#include <new>

#include "shared_agent/util/cert_store.h"
#include "shared_agent/util/cert_store_log.h"
#include "shared_agent/util/cert_store_state.h"
#include "support/trace_levels.h"

namespace hvx {

namespace {

bool AmongRoots(const std::vector<X509Ptr>& roots, const X509* certificate) {
    return std::ranges::any_of(roots, [certificate](const X509Ptr& root) {
        return X509_cmp(root.get(), certificate) == 0;
    });
}

}  // namespace

int _set_config_certs(X509** certs, std::uint32_t count) {
    if (certs == nullptr || count == 0) {
        return 0;
    }
    certs::StoreState& store = certs::Store();
    store.configured.clear();
    try {
        store.configured.reserve(count);
    } catch (const std::bad_alloc&) {
        hvx_error("_set_config_certs(): calloc failed");
        return -1;
    }
    for (std::uint32_t index = 0; index < count; ++index) {
        if (AmongRoots(store.roots, certs[index])) {
            continue;
        }
        X509Ptr copy(X509_dup(certs[index]));
        if (!copy) {
            hvx_error("_set_config_certsX509_dup failed (config trusted cert index: %lu)", index);
            continue;
        }
        const OpenSslText subject(X509_NAME_oneline(X509_get_subject_name(copy.get()), nullptr, 0));
        certs::trace(kTraceAll, "_set_config_certs(): Certificate for %s", subject.get());
        store.configured.push_back(std::move(copy));
    }
    return 0;
}

}  // namespace hvx
