// The shape of a record line in the log file and on stderr:
//   2026-12-05 18:44:57.123 <pid> <tid> ERROR <text>
//   2026-12-05 18:44:57.123 <pid> <tid> TRACE <text>
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include <spdlog/pattern_formatter.h>

#include "siblings/venit/venit.h"

namespace venit::detail {

// spdlog's pattern for the time stamp, process and thread ids before the payload.
inline constexpr const char* kRecordPattern = "%Y-%m-%d %H:%M:%S.%e %P %t %v";

// The formatter of record lines. A line ends in LF on every system (spdlog would end it in CR LF
// on Windows), so a log file reads the same wherever it was written.
inline std::unique_ptr<spdlog::formatter> RecordFormatter() {
    return std::make_unique<spdlog::pattern_formatter>(kRecordPattern,
                                                       spdlog::pattern_time_type::local, "\n");
}

// "ERROR <text>" or "TRACE <text>"; `text` is already escaped (EscapeControlCharacters).
std::string RecordPayload(RecordKind kind, std::string_view text);

}  // namespace venit::detail
