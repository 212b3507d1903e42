// The system CA bundle that stands for the "ROOT" store on POSIX.
#pragma once

#include <vector>

#include "platform/cert_store.h"

namespace hvx::os::detail {

// The certificates of the first bundle that exists, as DER bytes in file order. False with the
// last error set (ERROR_FILE_NOT_FOUND when no bundle exists, ERROR_READ_FAULT when the first one
// that exists cannot be read).
[[nodiscard]] bool ReadSystemCaBundle(std::vector<EncodedCertificate>& certificates);

}  // namespace hvx::os::detail
