// Whole small files written at once: the TLS folder's PEM and JSON files and the ready file.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

namespace hvx::backend {

// Replaces the file with `text`, created with `mode`: written beside it under another name and
// renamed into place, so a reader sees the old content or the whole new one, never a part.
[[nodiscard]] bool WriteTextFile(const std::filesystem::path& path, const std::string& text,
                                 mode_t mode);

}  // namespace hvx::backend
