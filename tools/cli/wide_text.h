// The command line is UTF-8; the library's texts are UTF-16.
#pragma once

#include <optional>
#include <string>

namespace hvx::cli {

// Nothing when `text` is not valid UTF-8.
std::optional<std::u16string> Widen(const std::string& text);
// Invalid UTF-16 comes out as U+FFFD.
std::string Narrow(const std::u16string& text);

}  // namespace hvx::cli
