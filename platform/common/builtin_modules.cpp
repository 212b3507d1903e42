#include "platform/common/builtin_modules.h"

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/common/module_name.h"
#include "platform/module.h"

namespace hvx::os {

namespace {

struct BuiltinModule {
    bool registered = false;
    bool missing = false;
    std::vector<BuiltinSymbol> symbols;
};

class Registry {
public:
    static Registry& Instance() {
        static Registry registry;
        return registry;
    }

    void Register(const char16_t* name, std::vector<BuiltinSymbol> symbols) {
        const std::lock_guard lock(m_mutex);
        std::unique_ptr<BuiltinModule>& module = m_modules[detail::FoldModuleName(name)];
        if (!module) {
            module = std::make_unique<BuiltinModule>();
        }
        module->registered = true;
        module->missing = false;
        module->symbols = std::move(symbols);
    }

    void MarkMissing(const char16_t* name) {
        const std::lock_guard lock(m_mutex);
        std::unique_ptr<BuiltinModule>& module = m_modules[detail::FoldModuleName(name)];
        if (!module) {
            module = std::make_unique<BuiltinModule>();
        }
        module->registered = false;
        module->missing = true;
        module->symbols.clear();
    }

    bool IsMissing(const char16_t* name) {
        const std::lock_guard lock(m_mutex);
        const auto found = m_modules.find(detail::FoldModuleName(name));
        return found != m_modules.end() && found->second->missing;
    }

    void Unregister(const char16_t* name) {
        const std::lock_guard lock(m_mutex);
        const auto found = m_modules.find(detail::FoldModuleName(name));
        if (found != m_modules.end()) {
            found->second->registered = false;
            found->second->missing = false;
            found->second->symbols.clear();
        }
    }

    HMODULE Find(const char16_t* name) {
        const std::lock_guard lock(m_mutex);
        const auto found = m_modules.find(detail::FoldModuleName(name));
        if (found == m_modules.end() || !found->second->registered) {
            return nullptr;
        }
        return reinterpret_cast<HMODULE>(found->second.get());
    }

    bool Contains(HMODULE module) {
        const std::lock_guard lock(m_mutex);
        return Lookup(module) != nullptr;
    }

    void* Symbol(HMODULE module, const char* symbol) {
        const std::lock_guard lock(m_mutex);
        const BuiltinModule* entry = Lookup(module);
        if (entry == nullptr || symbol == nullptr) {
            return nullptr;
        }
        for (const BuiltinSymbol& candidate : entry->symbols) {
            if (candidate.name != nullptr && std::strcmp(candidate.name, symbol) == 0) {
                return candidate.address;
            }
        }
        return nullptr;
    }

private:
    Registry() = default;

    // Compares addresses only, so any handle value may be asked about.
    const BuiltinModule* Lookup(HMODULE module) const {
        for (const auto& [name, entry] : m_modules) {
            if (reinterpret_cast<HMODULE>(entry.get()) == module) {
                return entry.get();
            }
        }
        return nullptr;
    }

    std::mutex m_mutex;
    std::map<std::u16string, std::unique_ptr<BuiltinModule>> m_modules;
};

}  // namespace

void RegisterBuiltinModule(const char16_t* name, std::vector<BuiltinSymbol> symbols) {
    if (name != nullptr) {
        Registry::Instance().Register(name, std::move(symbols));
    }
}

void RegisterMissingModule(const char16_t* name) {
    if (name != nullptr) {
        Registry::Instance().MarkMissing(name);
    }
}

void UnregisterBuiltinModule(const char16_t* name) {
    if (name != nullptr) {
        Registry::Instance().Unregister(name);
    }
}

namespace detail {

HMODULE FindBuiltinModule(const char16_t* name) {
    return Registry::Instance().Find(name);
}

bool IsMissingModule(const char16_t* name) {
    return name != nullptr && Registry::Instance().IsMissing(name);
}

bool IsBuiltinModule(HMODULE module) {
    return Registry::Instance().Contains(module);
}

void* FindBuiltinSymbol(HMODULE module, const char* symbol) {
    return Registry::Instance().Symbol(module, symbol);
}

}  // namespace detail

}  // namespace hvx::os
