// LoadLibraryW, GetProcAddress and FreeLibrary on dlopen(3). Handles handed out are counted
// here, so that a null, stale or foreign handle is refused instead of reaching dlsym or dlclose.
#include "platform/module.h"

#include <dlfcn.h>
#include <unistd.h>

#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/common/builtin_modules.h"
#include "platform/last_error.h"
#include "platform/posix/module_path.h"
#include "platform/posix/native_path.h"

namespace hvx::os {

namespace {

class LoadedModules {
public:
    static LoadedModules& Instance() {
        static LoadedModules modules;
        return modules;
    }

    void Add(void* handle) {
        const std::lock_guard lock(m_mutex);
        ++m_references[handle];
    }

    // FALSE when the handle was not handed out by LoadLibraryW (or is already released).
    [[nodiscard]] bool Release(void* handle) {
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

    [[nodiscard]] bool Contains(void* handle) {
        const std::lock_guard lock(m_mutex);
        return m_references.contains(handle);
    }

private:
    LoadedModules() = default;

    std::mutex m_mutex;
    std::unordered_map<void*, std::size_t> m_references;
};

void* Open(const std::string& file) {
    return ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
}

// A path is opened as given. A bare file name is looked for beside this code first; when it is
// there, that copy is the answer even if it fails to load. Otherwise the default search applies
// (LD_LIBRARY_PATH, the caller's RUNPATH, the system folders).
void* OpenSharedObject(const std::string& file) {
    if (file.find('/') != std::string::npos) {
        return Open(file);
    }
    const std::string& folder = detail::NativeModuleDirectory();
    if (!folder.empty()) {
        const std::string beside = folder + file;
        if (::access(beside.c_str(), F_OK) == 0) {
            return Open(beside);
        }
    }
    return Open(file);
}

}  // namespace

HMODULE LoadLibraryW(const char16_t* name) {
    if (name == nullptr || *name == u'\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (detail::IsMissingModule(name)) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    if (HMODULE builtin = detail::FindBuiltinModule(name); builtin != nullptr) {
        return builtin;
    }
    std::string file;
    void* handle = nullptr;
    if (detail::ToNativePath(ModuleFileName(name).c_str(), file)) {
        handle = OpenSharedObject(file);
    }
    if (handle == nullptr) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    LoadedModules::Instance().Add(handle);
    return handle;
}

void* GetProcAddress(HMODULE module, const char* symbol) {
    void* address = nullptr;
    if (detail::IsBuiltinModule(module)) {
        address = detail::FindBuiltinSymbol(module, symbol);
    } else if (module == nullptr || !LoadedModules::Instance().Contains(module)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    } else if (symbol != nullptr) {
        address = ::dlsym(module, symbol);
    }
    if (address == nullptr) {
        SetLastError(ERROR_PROC_NOT_FOUND);
    }
    return address;
}

BOOL FreeLibrary(HMODULE module) {
    if (detail::IsBuiltinModule(module)) {
        return TRUE;
    }
    if (module == nullptr || !LoadedModules::Instance().Release(module)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    // The loader keeps its own count; dlclose fails only for a handle it does not know.
    static_cast<void>(::dlclose(module));
    return TRUE;
}

}  // namespace hvx::os
