// The registry behind RegisterSubstituteCertStore: store names a test has replaced.
#pragma once

#include <optional>
#include <vector>

#include "platform/cert_store.h"

namespace hvx::os::detail {

struct CertStoreSubstitute {
    // False: opening the name fails.
    bool available = false;
    std::vector<EncodedCertificate> certificates;
};

// The substitute registered for that name, if any.
[[nodiscard]] std::optional<CertStoreSubstitute> FindCertStoreSubstitute(const char16_t* name);

}  // namespace hvx::os::detail
