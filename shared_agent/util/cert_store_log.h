// The certificate-store layer's own writers. They format with the utility library's formatter
// (so "%ws" takes UTF-16 text, as in the messages) and write through _log_error / _log_trace.
// Neither reports failure to its caller; an empty message is not written, a note saying so is.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "siblings/venit/venit.h"

namespace hvx {

namespace certs {

// The trace bits this layer answers to; a level without any of them writes nothing.
inline constexpr std::uint64_t kStoreTraceBits = 0x4000007;

void WriteStoreError(std::string_view format, venit::FormatArgs args);
void WriteStoreTrace(std::uint64_t level, std::string_view format, venit::FormatArgs args);

// The layer's trace: written when the level has one of kStoreTraceBits and the configured debug
// level is not 0. The layer calls it with every bit set (kTraceAll).
template <typename... A>
void trace(std::uint64_t level, const char* format, const A&... args) {
    WriteStoreTrace(level, format, venit::MakeArgs(args...));
}

}  // namespace certs

// The layer's error writer.
template <typename... A>
void hvx_error(const char* format, const A&... args) {
    certs::WriteStoreError(format, venit::MakeArgs(args...));
}

}  // namespace hvx
