#include "siblings/venit/log_writer.h"

#include <algorithm>

#include "platform/standard_error.h"
#include "siblings/venit/log_environment.h"
#include "siblings/venit/log_line.h"

namespace venit::detail {

LogWriter& LogWriter::Instance() {
    static auto* const instance = new LogWriter();
    return *instance;
}

LogWriter::LogWriter()
    : m_debugLevel(DebugLevelFromEnvironment()),
      m_toStderr(StderrFromEnvironment()),
      m_stderrFormat(RecordFormatter()) {
    m_file.SetPath(LogFileFromEnvironment());
}

void LogWriter::SetLogFile(std::string path) {
    const std::lock_guard lock(m_mutex);
    m_file.SetPath(std::move(path));
}

std::string LogWriter::LogFile() {
    const std::lock_guard lock(m_mutex);
    return m_file.Path();
}

void LogWriter::SetLogToStderr(bool enabled) {
    const std::lock_guard lock(m_mutex);
    m_toStderr = enabled;
}

void LogWriter::SetRotation(std::size_t maxBytes, std::size_t maxFiles) {
    const std::lock_guard lock(m_mutex);
    m_file.SetRotation(maxBytes, maxFiles);
}

void LogWriter::Flush() {
    const std::lock_guard lock(m_mutex);
    m_file.Flush();
}

void LogWriter::Write(RecordKind kind, std::uint64_t level, std::string_view text) noexcept {
    try {
        const Record record{kind, level, EscapeControlCharacters(text)};
        const std::lock_guard lock(m_mutex);
        for (CaptureSink* sink : m_captures) {
            sink->Add(record);
        }
        WriteLine(kind, record.text);
    } catch (...) {
        // A record that cannot be written (no memory for it) is dropped: logging never fails
        // the operation that logs.
    }
}

void LogWriter::WriteLine(RecordKind kind, std::string_view text) {
    const std::string payload = RecordPayload(kind, text);
    const spdlog::details::log_msg message(
        std::string_view(), kind == RecordKind::Error ? spdlog::level::err : spdlog::level::trace,
        payload);
    m_file.Write(message);
    if (m_toStderr) {
        spdlog::memory_buf_t line;
        m_stderrFormat->format(message, line);
        hvx::os::WriteStandardError(std::string_view(line.data(), line.size()));
    }
}

void LogWriter::Attach(CaptureSink* sink) {
    const std::lock_guard lock(m_mutex);
    m_captures.push_back(sink);
}

void LogWriter::Detach(CaptureSink* sink) {
    const std::lock_guard lock(m_mutex);
    m_captures.erase(std::remove(m_captures.begin(), m_captures.end(), sink), m_captures.end());
}

}  // namespace venit::detail
