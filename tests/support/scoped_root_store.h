// Replaces the system's ROOT certificate store, for the life of the object, with certificates
// given as PEM text (or with a store that cannot be opened), so that tests decide exactly what the
// trusted-certificate code finds there.
#pragma once

#include <string>
#include <vector>

#include "platform/cert_store.h"

namespace hvx::test {

class ScopedRootStore {
public:
    // A store of the certificates of these PEM texts (each may hold several), in order. Encoded
    // bytes that are not a certificate may be added with `raw`.
    explicit ScopedRootStore(const std::vector<std::string>& pems,
                             std::vector<os::EncodedCertificate> raw = {});
    // A store that cannot be opened.
    struct Unavailable {};
    explicit ScopedRootStore(Unavailable);
    ~ScopedRootStore();
    ScopedRootStore(const ScopedRootStore&) = delete;
    ScopedRootStore& operator=(const ScopedRootStore&) = delete;
    ScopedRootStore(ScopedRootStore&&) = delete;
    ScopedRootStore& operator=(ScopedRootStore&&) = delete;
};

}  // namespace hvx::test
