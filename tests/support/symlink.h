// Symbolic links where the system can make them. Windows lets only a privileged user (or one in
// developer mode) make one, and Wine 8 cannot make any; a test of what meets a link is skipped
// there with kNoSymlinks.
#pragma once

#include <filesystem>
#include <system_error>

namespace hvx::test {

inline constexpr const char* kNoSymlinks =
    "this system cannot make symbolic links (Wine 8 has none; Windows needs the privilege)";

// Makes `link` name `target`; false when the system cannot or may not make links. Other
// failures throw std::filesystem::filesystem_error.
inline bool MakeSymlink(const std::filesystem::path& target, const std::filesystem::path& link) {
    std::error_code error;
    std::filesystem::create_symlink(target, link, error);
    if (error == std::errc::function_not_supported || error == std::errc::operation_not_permitted) {
        return false;
    }
    if (error) {
        throw std::filesystem::filesystem_error("cannot make a symbolic link", target, link, error);
    }
    return true;
}

}  // namespace hvx::test
