#include "tools/backend/served_path.h"

#include <algorithm>
#include <system_error>

namespace hvx::backend {
namespace {

bool NamesParent(const std::filesystem::path& relative) {
    return std::any_of(relative.begin(), relative.end(),
                       [](const std::filesystem::path& part) { return part == ".."; });
}

bool IsInside(const std::filesystem::path& root, const std::filesystem::path& file) {
    const auto [rootEnd, fileAt] =
        std::mismatch(root.begin(), root.end(), file.begin(), file.end());
    return rootEnd == root.end() && fileAt != file.end();
}

}  // namespace

ServedPath ResolveServedPath(const std::filesystem::path& root, std::string_view relative) {
    if (relative.find('\0') != std::string_view::npos) {
        return {PathVerdict::Forbidden, {}};
    }
    const std::filesystem::path name = std::filesystem::path(relative).relative_path();
    if (NamesParent(name)) {
        return {PathVerdict::Forbidden, {}};
    }
    std::error_code error;
    std::filesystem::path file = std::filesystem::canonical(root / name, error);
    if (error) {
        return {PathVerdict::NotFound, {}};
    }
    if (!IsInside(root, file)) {
        return {PathVerdict::Forbidden, {}};
    }
    if (!std::filesystem::is_regular_file(file, error)) {
        return {PathVerdict::NotFound, {}};
    }
    return {PathVerdict::Found, std::move(file)};
}

}  // namespace hvx::backend
