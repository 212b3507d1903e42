// The system loader, after the built-in modules. A bare name is looked for beside the module
// that holds this code first (caspo.dll's folder, where its siblings are installed), whatever
// the program's own folder is; only when no such file is there does the system's search order
// apply. Handles handed out are counted (common/loaded_modules.h), so that a null, stale or
// foreign handle is refused instead of reaching the loader.
#include "platform/module.h"

#include <string>

#include "platform/common/builtin_modules.h"
#include "platform/common/loaded_modules.h"

namespace hvx::os {

namespace {

LPCWSTR Wide(const std::u16string& text) {
    return reinterpret_cast<LPCWSTR>(text.c_str());
}

bool HasFolder(const char16_t* name) {
    return std::u16string_view(name).find_first_of(u"\\/:") != std::u16string_view::npos;
}

bool IsFile(const std::u16string& path) {
    const DWORD attributes = ::GetFileAttributesW(Wide(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// A copy beside this code is the answer even if it fails to load; its own dependencies are
// then looked for in its folder too.
HMODULE Open(const char16_t* name) {
    if (!HasFolder(name)) {
        const std::u16string beside = GetModuleDirectory() + name;
        if (IsFile(beside)) {
            return ::LoadLibraryExW(Wide(beside), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        }
    }
    return ::LoadLibraryW(reinterpret_cast<LPCWSTR>(name));
}

}  // namespace

HMODULE LoadLibraryW(const char16_t* name) {
    if (name == nullptr || *name == u'\0') {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (detail::IsMissingModule(name)) {
        ::SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    if (HMODULE builtin = detail::FindBuiltinModule(name); builtin != nullptr) {
        return builtin;
    }
    HMODULE module = Open(name);
    if (module != nullptr) {
        detail::LoadedModules::Instance().Add(module);
    }
    return module;
}

void* GetProcAddress(HMODULE module, const char* symbol) {
    if (detail::IsBuiltinModule(module)) {
        void* address = detail::FindBuiltinSymbol(module, symbol);
        if (address == nullptr) {
            ::SetLastError(ERROR_PROC_NOT_FOUND);
        }
        return address;
    }
    if (module == nullptr || !detail::LoadedModules::Instance().Contains(module)) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (symbol == nullptr) {
        ::SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<void*>(::GetProcAddress(module, symbol));
}

BOOL FreeLibrary(HMODULE module) {
    if (detail::IsBuiltinModule(module)) {
        return TRUE;
    }
    if (module == nullptr || !detail::LoadedModules::Instance().Release(module)) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return ::FreeLibrary(module);
}

}  // namespace hvx::os
