// A sibling library's factory and release entry points, resolved by name once per process.
//
// The first Resolve that finds both sets them for the life of the process and keeps the library
// loaded for good; a failed attempt leaves them unresolved (and the library unloaded again), so a
// later Resolve tries again. Two threads resolving at once may both load the library; they store
// the same addresses, so the race is harmless and needs no lock.
#pragma once

#include <atomic>

#include "support/module_handle.h"

namespace hvx {

template <typename CreateFn, typename ReleaseFn>
class ModuleEntryPoints {
public:
    constexpr ModuleEntryPoints(const char16_t* module, const char* createSymbol,
                                const char* releaseSymbol) noexcept
        : m_module(module), m_createSymbol(createSymbol), m_releaseSymbol(releaseSymbol) {}

    void Resolve() {
        if (Resolved()) {
            return;
        }
        ModuleHandle module(os::LoadLibraryW(m_module));
        if (!module) {
            return;
        }
        const auto create = GetExport<CreateFn>(module.get(), m_createSymbol);
        const auto release = GetExport<ReleaseFn>(module.get(), m_releaseSymbol);
        if (create == nullptr || release == nullptr) {
            return;
        }
        m_create.store(create);
        m_release.store(release);
        static_cast<void>(module.release());
    }

    [[nodiscard]] bool Resolved() const { return Create() != nullptr && Release() != nullptr; }
    // Null while unresolved.
    [[nodiscard]] CreateFn Create() const { return m_create.load(); }
    [[nodiscard]] ReleaseFn Release() const { return m_release.load(); }

private:
    const char16_t* m_module;
    const char* m_createSymbol;
    const char* m_releaseSymbol;
    std::atomic<CreateFn> m_create{nullptr};
    std::atomic<ReleaseFn> m_release{nullptr};
};

}  // namespace hvx
