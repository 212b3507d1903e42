#include "tools/backend/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <system_error>

#include "tools/backend/file_descriptor.h"

namespace hvx::backend {
namespace {

[[nodiscard]] bool WriteAll(int fd, const std::string& text) {
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t count = write(fd, text.data() + written, text.size() - written);
        if (count < 0) {
            return false;
        }
        written += static_cast<std::size_t>(count);
    }
    return true;
}

}  // namespace

bool WriteTextFile(const std::filesystem::path& path, const std::string& text, mode_t mode) {
    const std::filesystem::path partial = path.string() + ".partial";
    std::error_code ignored;
    {
        const FileDescriptor file(
            open(partial.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode));
        // An earlier partial file keeps its old mode through O_CREAT; keys must not.
        if (!file.IsOpen() || fchmod(file.Get(), mode) != 0 || !WriteAll(file.Get(), text)) {
            std::filesystem::remove(partial, ignored);
            return false;
        }
    }
    std::error_code renamed;
    std::filesystem::rename(partial, path, renamed);
    if (renamed) {
        std::filesystem::remove(partial, ignored);
    }
    return !renamed;
}

}  // namespace hvx::backend
