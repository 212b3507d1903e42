// Which file under the served folder a request names. Nothing outside the folder is ever
// served: not through "..", and not through a symbolic link that leads out of it.
#pragma once

#include <filesystem>
#include <string_view>

namespace hvx::backend {

enum class PathVerdict {
    Found,      // a regular file inside the folder
    NotFound,   // nothing there, or not a regular file
    Forbidden,  // the name tries to leave the folder
};

struct ServedPath {
    PathVerdict verdict = PathVerdict::NotFound;
    std::filesystem::path file;  // canonical; set when found
};

// `root` must be canonical; `relative` is the percent-decoded path below the route's prefix.
ServedPath ResolveServedPath(const std::filesystem::path& root, std::string_view relative);

}  // namespace hvx::backend
