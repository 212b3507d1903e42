// venit: the agent's logging and utility library.
//
// Records are errors or traces. A trace carries a 64-bit level mask and is written only when
// the mask shares a bit with the configured debug level (getDebugLevel(); 0 turns tracing off).
// Records go to the log file (rotated by size) and, when asked, to stderr, one line each:
// "2026-12-05 18:44:57.123 <pid> <tid> ERROR <text>" (or TRACE). Every sink gets the text with
// its control characters escaped (EscapeControlCharacters), so a text taken from a server can
// neither forge a record nor drive a terminal; a CaptureSink receives exactly that text, which
// is how tests read it. The log file is created readable by its user only (0600 on POSIX).
// Writing a record never fails the caller, and a log file that cannot be opened is left
// off (said once on stderr) while the other sinks go on.
//
// Configuration, first match wins:
//   debug level: SetDebugLevel(), else the environment variable VENIT_DEBUG_LEVEL (decimal or
//                0x-hexadecimal), else 0;
//   log file:    SetLogFile(), else VENIT_LOG_FILE, else <user data folder>/caspo/log/caspo.log;
//                an empty path turns the file off;
//   stderr:      SetLogToStderr(), else VENIT_LOG_STDERR=1.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "siblings/venit/format_arg.h"
#include "siblings/venit/venit_export.h"

namespace venit {

enum class RecordKind : std::uint8_t { Error, Trace };

struct Record {
    RecordKind kind;
    std::uint64_t level;  // the trace level; 0 for errors
    std::string text;     // UTF-8, without time stamp or line end
};

// The text with each control character written as \xHH (two lower-case hex digits): the bytes
// 0x00 to 0x1F and 0x7F, and both bytes of U+0080 to U+009F in UTF-8 ("\xc2\x9b"). Everything
// else, a backslash included, stays as it is. Every record is written this way; tools use it
// for outside text they print.
VENIT_API std::string EscapeControlCharacters(std::string_view text);

// Writes a ready-made error record.
VENIT_API void WriteError(std::string_view text);
// Writes a ready-made trace record if the level passes.
VENIT_API void WriteTrace(std::uint64_t level, std::string_view text);
// True when a trace of this level would be written.
VENIT_API bool TraceEnabled(std::uint64_t level);

VENIT_API void SetDebugLevel(std::uint64_t level);
VENIT_API void SetLogFile(const std::string& path);
VENIT_API void SetLogToStderr(bool enabled);
// Rotation of the log file by size: a record that would take the file past maxBytes first
// moves caspo.log to caspo.1.log (and so on); maxFiles counts the files kept, the current one
// included. 10 MiB and 5 files unless set; each value is at least 1.
VENIT_API void SetLogRotation(std::size_t maxBytes, std::size_t maxFiles);
// The log file in use ("" when off, also after it could not be opened).
VENIT_API std::string GetLogFile();
// Writes buffered records to the file.
VENIT_API void Flush();

// Receives every record written while it exists, traces only when their level passes.
// Thread-safe.
class VENIT_API CaptureSink {
public:
    CaptureSink();
    ~CaptureSink();
    CaptureSink(const CaptureSink&) = delete;
    CaptureSink& operator=(const CaptureSink&) = delete;
    CaptureSink(CaptureSink&&) = delete;
    CaptureSink& operator=(CaptureSink&&) = delete;

    std::vector<Record> Records() const;
    void Clear();

    // Internal: called by the writers.
    void Add(const Record& record);

private:
    struct State;
    State* m_state;
};

VENIT_API void WriteErrorFormatted(std::string_view format, FormatArgs args);
VENIT_API void WriteErrorFormatted(std::u16string_view format, FormatArgs args);
VENIT_API void WriteTraceFormatted(std::uint64_t level, std::string_view format, FormatArgs args);
VENIT_API void WriteTraceFormatted(std::uint64_t level, std::u16string_view format,
                                   FormatArgs args);

template <typename... A>
std::array<FormatArg, sizeof...(A)> MakeArgs(const A&... args) {
    return {FormatArg(args)...};
}

}  // namespace venit

// The agent's writers, printf-style with type-checked arguments (see format_arg.h).
template <typename... A>
void error(const char* format, const A&... args) {
    venit::WriteErrorFormatted(format, venit::MakeArgs(args...));
}
template <typename... A>
void error(const char16_t* format, const A&... args) {
    venit::WriteErrorFormatted(format, venit::MakeArgs(args...));
}
template <typename... A>
void trace(std::uint64_t level, const char* format, const A&... args) {
    if (venit::TraceEnabled(level)) {
        venit::WriteTraceFormatted(level, format, venit::MakeArgs(args...));
    }
}
template <typename... A>
void trace(std::uint64_t level, const char16_t* format, const A&... args) {
    if (venit::TraceEnabled(level)) {
        venit::WriteTraceFormatted(level, format, venit::MakeArgs(args...));
    }
}

extern "C" {
// Writes a ready-made error record; code and text2 are not part of the record.
VENIT_API void _log_error(int code, const char* text, const char* text2);
// Writes a ready-made trace record, whatever the debug level (callers test it first).
VENIT_API void _log_trace(const char* text);
// The configured debug level; 0 means tracing is off.
VENIT_API std::uint64_t getDebugLevel();
}
