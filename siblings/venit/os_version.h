// The operating system's version as one 32-bit number, for logs.
#pragma once

#include <cstdint>

#include "siblings/venit/venit_export.h"

namespace Util {

// The running kernel's release packed into 32 bits: major version in bits 24 to 31, minor in
// bits 16 to 23, patch level in bits 0 to 15 (each saturating at its field's largest value). On
// POSIX the numbers come from uname's release text ("6.1.0-18-amd64" gives 0x06010000), on
// Windows from the kernel's version (platform/os_release.h); a missing part counts as 0. 0 when
// the release cannot be read or does not begin with a number.
VENIT_API std::uint32_t GetOsVersion();

}  // namespace Util
