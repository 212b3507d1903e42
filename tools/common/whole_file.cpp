#include "tools/common/whole_file.h"

#include <fstream>
#include <sstream>

namespace hvx::tools {

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream content;
    content << in.rdbuf();
    return in.bad() ? std::nullopt : std::optional(content.str());
}

}  // namespace hvx::tools
