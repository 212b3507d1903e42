#include "session/engine_entry_points.h"

#include <atomic>

#include "siblings/venit/os_version.h"

namespace hvx::session {

namespace {

constexpr const char16_t* kEngineModule = u"mirel.dll";

constinit EngineEntryPoints g_engine(kEngineModule, kCreateEngineSymbol, kReleaseEngineSymbol);
constinit std::atomic<std::uint32_t> g_osVersion{0};

}  // namespace

EngineEntryPoints& EngineModule() {
    return g_engine;
}

void CacheOsVersion() {
    if (g_osVersion.load() == 0) {
        g_osVersion.store(Util::GetOsVersion());
    }
}

std::uint32_t CachedOsVersion() {
    return g_osVersion.load();
}

}  // namespace hvx::session
