// LoadLibraryW, GetProcAddress and FreeLibrary on dlopen(3). Handles handed out are counted
// (common/loaded_modules.h), so that a null, stale or foreign handle is refused instead of reaching
// dlsym or dlclose.
#include "platform/module.h"

#include <dlfcn.h>
#include <unistd.h>

#include <string>

#include "platform/common/builtin_modules.h"
#include "platform/common/loaded_modules.h"
#include "platform/last_error.h"
#include "platform/posix/module_path.h"
#include "platform/posix/native_path.h"

namespace hvx::os {

namespace {

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
    detail::LoadedModules::Instance().Add(handle);
    return handle;
}

void* GetProcAddress(HMODULE module, const char* symbol) {
    void* address = nullptr;
    if (detail::IsBuiltinModule(module)) {
        address = detail::FindBuiltinSymbol(module, symbol);
    } else if (module == nullptr || !detail::LoadedModules::Instance().Contains(module)) {
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
    if (module == nullptr || !detail::LoadedModules::Instance().Release(module)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    // The loader keeps its own count; dlclose fails only for a handle it does not know.
    static_cast<void>(::dlclose(module));
    return TRUE;
}

}  // namespace hvx::os
