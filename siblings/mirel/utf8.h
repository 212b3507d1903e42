// UTF-16 text from callers, as the UTF-8 that libcurl sends.
#pragma once

#include <optional>
#include <string>

namespace hvx::mirel {

// The UTF-8 form of zero-terminated UTF-16 text; nullopt for null or invalid text (a lone
// surrogate), which is refused rather than sent with a replacement character.
std::optional<std::string> ToUtf8(const char16_t* text);

}  // namespace hvx::mirel
