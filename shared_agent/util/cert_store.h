// The certificate-store layer: the certificates of the system's ROOT store and the configured
// trusted certificates, decoded once, held process-wide and added to TLS trust stores. Every
// operation takes the store lock; callers that also hold the certificate-manager lock take that
// one first.
#pragma once

#include <cstddef>
#include <cstdint>

#include "shared_agent/util/openssl_holders.h"

namespace hvx {

// Decodes every certificate of the ROOT store, then keeps copies of the configured certificates
// (`certs`, `count`; not taken over) that are not among them. 0, or -1 when certificates are
// loaded already or the ROOT store cannot be opened, is empty or gives no certificate that
// decodes (then nothing is kept, the configured certificates neither).
[[nodiscard]] int cert_store_load(X509** certs, std::uint32_t count);

// Keeps copies of the configured certificates that are not among the ROOT certificates; the
// caller holds the store lock. 0, or -1 when the copies cannot be allocated. Null or no
// certificates give 0 at once.
[[nodiscard]] int _set_config_certs(X509** certs, std::uint32_t count);

// Adds the ROOT certificates, the configured ones and `extra` (may be null) to `store`. Adds
// nothing while no ROOT certificate is loaded.
void cert_add_from_keystore(X509_STORE* store, X509* extra);

// Frees every certificate held. Always 0.
int cert_store_unload();

// How many certificates the layer holds, for diagnostics.
struct CertStoreCounts {
    std::size_t roots = 0;
    std::size_t configured = 0;
};
CertStoreCounts cert_store_counts();

}  // namespace hvx
