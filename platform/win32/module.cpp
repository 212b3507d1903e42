// The system loader, after the built-in modules.
#include "platform/module.h"

#include "platform/common/builtin_modules.h"

namespace hvx::os {

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
    return ::LoadLibraryW(reinterpret_cast<LPCWSTR>(name));
}

void* GetProcAddress(HMODULE module, const char* symbol) {
    if (detail::IsBuiltinModule(module)) {
        void* address = detail::FindBuiltinSymbol(module, symbol);
        if (address == nullptr) {
            ::SetLastError(ERROR_PROC_NOT_FOUND);
        }
        return address;
    }
    if (module == nullptr) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return reinterpret_cast<void*>(::GetProcAddress(module, symbol));
}

BOOL FreeLibrary(HMODULE module) {
    if (detail::IsBuiltinModule(module)) {
        return TRUE;
    }
    return ::FreeLibrary(module);
}

}  // namespace hvx::os
