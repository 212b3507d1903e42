// Whole small files: the TLS folder's PEM and JSON files and the ready file.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>

namespace hvx::backend {

// The file's content; nothing when it cannot be read.
std::optional<std::string> ReadTextFile(const std::filesystem::path& path);

// Replaces the file with `text`, created with `mode`: written beside it under another name and
// renamed into place, so a reader sees the old content or the whole new one, never a part.
[[nodiscard]] bool WriteTextFile(const std::filesystem::path& path, const std::string& text,
                                 mode_t mode);

}  // namespace hvx::backend
