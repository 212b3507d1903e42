// The operating system's version record and the time since it started, for the management
// client's registration.
#pragma once

#include <cstdint>

#include "platform/os_facts.h"
#include "siblings/venit/venit_export.h"

namespace Util {

// Fills `info` from the running system (platform/os_facts.h says what POSIX reports). FALSE for
// a null record or when the system will not say.
VENIT_API BOOL GetOsVersionInfo(OSVERSIONINFOEXW* info);

// Milliseconds since the system started. FALSE for a null output or when the clock cannot be
// read.
VENIT_API BOOL GetSystemUpTime(std::uint64_t* milliseconds);

}  // namespace Util
