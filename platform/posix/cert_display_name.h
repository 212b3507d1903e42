// The simple display name of a certificate, as CertGetNameStringW chooses it.
#pragma once

#include <vector>

#include "platform/cert_store.h"

namespace hvx::os::detail {

// The name as UTF-8: the subject's common name, else its organisational unit, else its
// organisation, else its first name part. Empty when it has none or does not decode.
[[nodiscard]] std::vector<char> CertificateDisplayNameUtf8(const EncodedCertificate& certificate);

}  // namespace hvx::os::detail
