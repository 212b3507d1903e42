// Process-wide state of the sessions: the entry points of the transfer engine mirel, and the
// operating system's version, fetched once for the logs.
#pragma once

#include <cstdint>

#include "interfaces/ITransferEngine.h"
#include "support/module_entry_points.h"

namespace hvx::session {

using EngineEntryPoints = ModuleEntryPoints<CreateNCPClassInstanceFn, ReleaseNCPClassInstanceFn>;

// mirel.dll's CreateNCPClassInstance and ReleaseNCPClassInstance.
EngineEntryPoints& EngineModule();

// Fetches the version with Util::GetOsVersion while the cached value is 0.
void CacheOsVersion();
// The cached version; 0 until fetched.
std::uint32_t CachedOsVersion();

}  // namespace hvx::session
