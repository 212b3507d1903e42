// The process-wide log: the configured debug level, the file, stderr and the capture sinks.
//
// Created at first use and never destroyed, so records written while the process exits (from
// other static destructors) still find it; every record is flushed as it is written, so none
// waits in a buffer at exit.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include <spdlog/formatter.h>

#include "siblings/venit/log_file.h"
#include "siblings/venit/venit.h"

namespace venit::detail {

// The level of a ready-made trace from _log_trace: it passes whatever the caller tested.
inline constexpr std::uint64_t kEveryLevel = ~std::uint64_t{0};

class LogWriter {
public:
    static LogWriter& Instance();

    bool TraceEnabled(std::uint64_t level) const {
        return (level & m_debugLevel.load(std::memory_order_relaxed)) != 0;
    }
    std::uint64_t DebugLevel() const { return m_debugLevel.load(std::memory_order_relaxed); }
    void SetDebugLevel(std::uint64_t level) {
        m_debugLevel.store(level, std::memory_order_relaxed);
    }

    void SetLogFile(std::string path);
    std::string LogFile();
    void SetLogToStderr(bool enabled);
    void SetRotation(std::size_t maxBytes, std::size_t maxFiles);
    void Flush();

    // Writes a record to every sink; never throws.
    void Write(RecordKind kind, std::uint64_t level, std::string_view text) noexcept;

    void Attach(CaptureSink* sink);
    void Detach(CaptureSink* sink);

    LogWriter(const LogWriter&) = delete;
    LogWriter& operator=(const LogWriter&) = delete;
    LogWriter(LogWriter&&) = delete;
    LogWriter& operator=(LogWriter&&) = delete;

private:
    LogWriter();
    ~LogWriter() = default;

    void WriteLine(RecordKind kind, std::string_view text);

    std::mutex m_mutex;
    std::atomic<std::uint64_t> m_debugLevel;
    detail::LogFile m_file;
    bool m_toStderr;
    // Records on stderr go to the process's standard error as it is when each is written.
    std::unique_ptr<spdlog::formatter> m_stderrFormat;
    std::vector<CaptureSink*> m_captures;
};

}  // namespace venit::detail
