// The log file: spdlog's size-rotated file sink, opened at the first record.
//
// A file that cannot be opened or rotated never fails the writer: the file is turned off for
// this path (said once on stderr) and records still reach the other sinks. Not locked; the
// LogWriter holds its lock around every call.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include <spdlog/details/log_msg.h>
#include <spdlog/sinks/rotating_file_sink.h>

namespace venit::detail {

class LogFile {
public:
    static constexpr std::size_t kDefaultMaxBytes = std::size_t{10} * 1024 * 1024;
    static constexpr std::size_t kDefaultMaxFiles = 5;

    // "" turns the file off. A new path gets a new chance to open.
    void SetPath(std::string path);
    // The path in use; "" when off or when the file could not be opened.
    std::string Path() const;
    // maxFiles counts the current file: 5 keeps caspo.log and caspo.1.log to caspo.4.log.
    void SetRotation(std::size_t maxBytes, std::size_t maxFiles);

    void Write(const spdlog::details::log_msg& message);
    void Flush();

private:
    bool Open();
    void TurnOff(const char* reason);

    std::string m_path;
    std::size_t m_maxBytes = kDefaultMaxBytes;
    std::size_t m_maxFiles = kDefaultMaxFiles;
    std::unique_ptr<spdlog::sinks::rotating_file_sink_st> m_sink;
    bool m_off = false;
};

}  // namespace venit::detail
