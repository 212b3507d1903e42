// The log's settings from the environment, read once when the log is first used.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace venit::detail {

// VENIT_DEBUG_LEVEL; 0 when it is absent or not a number.
std::uint64_t DebugLevelFromEnvironment();
// VENIT_LOG_FILE, else <user data folder>/caspo/log/caspo.log; "" turns the file off.
std::string LogFileFromEnvironment();
// VENIT_LOG_STDERR=1.
bool StderrFromEnvironment();

// Decimal ("4096", "-1" for every bit) or 0x-hexadecimal ("0x1000"); 0 for anything else.
std::uint64_t ParseDebugLevel(std::string_view text);

}  // namespace venit::detail
