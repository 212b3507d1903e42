// GetUserDataDirectory and CreateDirectoryTree through the shell.
#include "platform/file.h"

// After the platform header, which brings in windows.h.
#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>

#include <memory>
#include <string>

namespace hvx::os {

namespace {

struct TaskMemFree {
    void operator()(wchar_t* text) const { ::CoTaskMemFree(text); }
};
using TaskText = std::unique_ptr<wchar_t, TaskMemFree>;

bool IsFolder(LPCWSTR path) {
    const DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

std::u16string GetUserDataDirectory() {
    PWSTR found = nullptr;
    const HRESULT hr = ::SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &found);
    const TaskText owner(found);  // freed even when the call fails
    if (FAILED(hr) || found == nullptr) {
        return {};
    }
    std::u16string folder(reinterpret_cast<const char16_t*>(found));
    while (folder.size() > 1 && (folder.back() == u'\\' || folder.back() == u'/')) {
        folder.pop_back();
    }
    return folder;
}

BOOL CreateDirectoryTree(const char16_t* path) {
    if (path == nullptr || *path == u'\0') {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const auto* wide = reinterpret_cast<LPCWSTR>(path);
    const int result = ::SHCreateDirectoryExW(nullptr, wide, nullptr);
    if (IsFolder(wide)) {
        return TRUE;
    }
    ::SetLastError(result == ERROR_SUCCESS ? static_cast<DWORD>(ERROR_ALREADY_EXISTS)
                                           : static_cast<DWORD>(result));
    return FALSE;
}

}  // namespace hvx::os
