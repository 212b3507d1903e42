// A whole file read into memory: the tools' PEM, JSON and import files, and the files the tests
// look at.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace hvx::tools {

// The file's content; nothing when it cannot be opened or a read fails.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

}  // namespace hvx::tools
