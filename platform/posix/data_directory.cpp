// GetUserDataDirectory and CreateDirectoryTree.
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/file.h"
#include "platform/last_error.h"
#include "platform/posix/errno_map.h"
#include "platform/posix/native_path.h"

namespace hvx::os {

namespace {

constexpr std::size_t kPasswdBufferSize = 16384;

std::string Environment(const char* name) {
    const char* value = std::getenv(name);  // NOLINT(concurrency-mt-unsafe): read-only use
    return value != nullptr ? std::string(value) : std::string();
}

// $HOME, or the home folder of the account when the variable is not set.
std::string HomeFolder() {
    std::string home = Environment("HOME");
    if (!home.empty()) {
        return home;
    }
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(kPasswdBufferSize);
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr) {
        home = found->pw_dir;
    }
    return home;
}

void DropTrailingSeparators(std::string& path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
}

}  // namespace

std::u16string GetUserDataDirectory() {
    // Only an absolute $XDG_DATA_HOME counts; a relative one is to be ignored.
    std::string folder = Environment("XDG_DATA_HOME");
    if (folder.empty() || folder.front() != '/') {
        std::string home = HomeFolder();
        DropTrailingSeparators(home);
        folder = home.empty() ? std::string() : home + "/.local/share";
    }
    DropTrailingSeparators(folder);
    return detail::FromNativePath(folder);
}

BOOL CreateDirectoryTree(const char16_t* path) {
    std::string native;
    if (!detail::ToNativePath(path, native)) {
        return FALSE;
    }
    std::error_code error;
    std::filesystem::create_directories(native, error);
    std::error_code ignored;
    const std::filesystem::file_status status = std::filesystem::status(native, ignored);
    if (std::filesystem::is_directory(status)) {
        return TRUE;
    }
    // Something other than a folder already has the name: Win32 says so in its own words.
    SetLastError(std::filesystem::exists(status)
                     ? static_cast<DWORD>(ERROR_ALREADY_EXISTS)
                     : detail::Win32ErrorFromErrno(error.value(), ERROR_ACCESS_DENIED));
    return FALSE;
}

}  // namespace hvx::os
