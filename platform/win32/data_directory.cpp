// GetUserDataDirectory through the shell, and CreateDirectoryTree.
#include "platform/file.h"

// After the platform header, which brings in windows.h.
#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
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

// The end of the path's root ("C:", "\\\\server\\share"): the first separator after which a
// folder may have to be made.
std::size_t FirstFolderEnd(const std::wstring& path) {
    if (path.starts_with(L"\\\\")) {
        const std::size_t server = path.find(L'\\', 2);
        const std::size_t share =
            server == std::wstring::npos ? server : path.find(L'\\', server + 1);
        return share == std::wstring::npos ? share : path.find(L'\\', share + 1);
    }
    const std::size_t first = path.find(L'\\');
    return first == 0 || (first != std::wstring::npos && path[first - 1] == L':')
               ? path.find(L'\\', first + 1)
               : first;
}

// Makes one folder whose parent exists. A folder already there counts as made. A file in the
// way fails with ERROR_ALREADY_EXISTS when it is the last part and ERROR_PATH_NOT_FOUND when it
// is a parent, as a path through a file is not found.
bool MakeFolder(const std::wstring& folder, bool last) {
    if (::CreateDirectoryW(folder.c_str(), nullptr) != FALSE || IsFolder(folder.c_str())) {
        return true;
    }
    DWORD error = ::GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
        error = last ? ERROR_ALREADY_EXISTS : ERROR_PATH_NOT_FOUND;
    }
    ::SetLastError(error);
    return false;
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

// Each missing folder of the path is made in turn, so that '/' separates as '\\' does (as in
// every other file call of the system) and no length limit applies beyond the system's own.
BOOL CreateDirectoryTree(const char16_t* path) {
    if (path == nullptr || *path == u'\0') {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::wstring folder(reinterpret_cast<const wchar_t*>(path));
    std::replace(folder.begin(), folder.end(), L'/', L'\\');
    while (folder.size() > 1 && folder.back() == L'\\') {
        folder.pop_back();
    }
    if (IsFolder(folder.c_str())) {
        return TRUE;
    }
    for (std::size_t end = FirstFolderEnd(folder); end != std::wstring::npos;
         end = folder.find(L'\\', end + 1)) {
        if (!MakeFolder(folder.substr(0, end), false)) {
            return FALSE;
        }
    }
    return MakeFolder(folder, true) ? TRUE : FALSE;
}

}  // namespace hvx::os
