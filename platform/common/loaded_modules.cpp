#include "platform/common/loaded_modules.h"

namespace hvx::os::detail {

LoadedModules& LoadedModules::Instance() {
    static LoadedModules modules;
    return modules;
}

void LoadedModules::Add(void* handle) {
    const std::lock_guard lock(m_mutex);
    ++m_references[handle];
}

bool LoadedModules::Release(void* handle) {
    const std::lock_guard lock(m_mutex);
    const auto found = m_references.find(handle);
    if (found == m_references.end()) {
        return false;
    }
    if (--found->second == 0) {
        m_references.erase(found);
    }
    return true;
}

bool LoadedModules::Contains(void* handle) {
    const std::lock_guard lock(m_mutex);
    return m_references.contains(handle);
}

}  // namespace hvx::os::detail
