// GetModuleDirectory and ModuleFileName.
#include <string>

#include "platform/module.h"

namespace hvx::os {

namespace {

constexpr DWORD kFirstPathCapacity = MAX_PATH;
constexpr DWORD kLongestPath = 32768;  // the longest path the system accepts, in units

// The file this code was loaded from: caspo.dll, or the program that links it statically.
std::wstring ThisModuleFile() {
    HMODULE self = nullptr;
    const DWORD flags =
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
    if (::GetModuleHandleExW(flags, reinterpret_cast<LPCWSTR>(&ThisModuleFile), &self) == FALSE) {
        return {};
    }
    for (DWORD capacity = kFirstPathCapacity; capacity <= kLongestPath; capacity *= 2) {
        std::wstring file(capacity, L'\0');
        const DWORD length = ::GetModuleFileNameW(self, file.data(), capacity);
        if (length == 0) {
            return {};
        }
        if (length < capacity) {
            file.resize(length);
            return file;
        }
    }
    return {};
}

}  // namespace

std::u16string GetModuleDirectory() {
    const std::wstring file = ThisModuleFile();
    const auto separator = file.find_last_of(L"\\/");
    if (separator == std::wstring::npos) {
        return {};
    }
    return {file.begin(), file.begin() + static_cast<std::ptrdiff_t>(separator) + 1};
}

std::u16string ModuleFileName(const char16_t* name) {
    return name != nullptr ? std::u16string(name) : std::u16string();
}

}  // namespace hvx::os
