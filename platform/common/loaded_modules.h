// The handles LoadLibraryW has handed out, with their reference counts, so that GetProcAddress
// and FreeLibrary refuse a null, stale or foreign handle (ERROR_INVALID_HANDLE) instead of
// passing it to the system's loader.
#pragma once

#include <cstddef>
#include <mutex>
#include <unordered_map>

namespace hvx::os::detail {

class LoadedModules {
public:
    static LoadedModules& Instance();

    // One more reference to a handle the system's loader returned.
    void Add(void* handle);
    // Drops one reference; false when the handle was not handed out (or is already released).
    [[nodiscard]] bool Release(void* handle);
    [[nodiscard]] bool Contains(void* handle);

private:
    LoadedModules() = default;
    std::mutex m_mutex;
    std::unordered_map<void*, std::size_t> m_references;
};

}  // namespace hvx::os::detail
