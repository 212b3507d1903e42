#include "siblings/venit/format_text.h"
#include "siblings/venit/log_writer.h"
#include "siblings/venit/text_convert.h"
#include "siblings/venit/venit.h"

namespace venit {
namespace {

using detail::LogWriter;

std::string_view TextOrNull(const char* text) {
    return text != nullptr ? std::string_view(text) : detail::kNullText;
}

}  // namespace

void WriteError(std::string_view text) {
    LogWriter::Instance().Write(RecordKind::Error, 0, text);
}

void WriteTrace(std::uint64_t level, std::string_view text) {
    LogWriter& writer = LogWriter::Instance();
    if (writer.TraceEnabled(level)) {
        writer.Write(RecordKind::Trace, level, text);
    }
}

bool TraceEnabled(std::uint64_t level) {
    return LogWriter::Instance().TraceEnabled(level);
}

void SetDebugLevel(std::uint64_t level) {
    LogWriter::Instance().SetDebugLevel(level);
}

void SetLogFile(const std::string& path) {
    LogWriter::Instance().SetLogFile(path);
}

void SetLogToStderr(bool enabled) {
    LogWriter::Instance().SetLogToStderr(enabled);
}

void SetLogRotation(std::size_t maxBytes, std::size_t maxFiles) {
    LogWriter::Instance().SetRotation(maxBytes, maxFiles);
}

std::string GetLogFile() {
    return LogWriter::Instance().LogFile();
}

void Flush() {
    LogWriter::Instance().Flush();
}

// Formatting may run out of memory; the record is then dropped, never thrown at the caller.
void WriteErrorFormatted(std::string_view format, FormatArgs args) {
    try {
        WriteError(Format(format, args));
    } catch (...) {
    }
}

void WriteErrorFormatted(std::u16string_view format, FormatArgs args) {
    try {
        WriteError(detail::Utf16ToUtf8(Format(format, args)));
    } catch (...) {
    }
}

void WriteTraceFormatted(std::uint64_t level, std::string_view format, FormatArgs args) {
    try {
        if (TraceEnabled(level)) {
            LogWriter::Instance().Write(RecordKind::Trace, level, Format(format, args));
        }
    } catch (...) {
    }
}

void WriteTraceFormatted(std::uint64_t level, std::u16string_view format, FormatArgs args) {
    try {
        if (TraceEnabled(level)) {
            LogWriter::Instance().Write(RecordKind::Trace, level,
                                        detail::Utf16ToUtf8(Format(format, args)));
        }
    } catch (...) {
    }
}

}  // namespace venit

extern "C" {

void _log_error(int /*code*/, const char* text, const char* /*text2*/) {
    venit::WriteError(venit::TextOrNull(text));
}

void _log_trace(const char* text) {
    venit::detail::LogWriter::Instance().Write(venit::RecordKind::Trace, venit::detail::kEveryLevel,
                                               venit::TextOrNull(text));
}

std::uint64_t getDebugLevel() {
    return venit::detail::LogWriter::Instance().DebugLevel();
}
}
