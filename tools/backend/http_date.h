// HTTP dates ("Sun, 06 Nov 1994 08:49:37 GMT"), for Last-Modified and If-Modified-Since.
#pragma once

#include <ctime>
#include <optional>
#include <string>

namespace hvx::backend {

// The preferred form, always in GMT.
std::string FormatHttpDate(std::time_t time);

// Reads the preferred form and the two obsolete forms that HTTP/1.1 servers must accept
// ("Sunday, 06-Nov-94 08:49:37 GMT", "Sun Nov  6 08:49:37 1994"); nothing for anything else.
std::optional<std::time_t> ParseHttpDate(const std::string& text);

}  // namespace hvx::backend
