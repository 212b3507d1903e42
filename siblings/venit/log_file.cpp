#include "siblings/venit/log_file.h"

#include <algorithm>
#include <cstdio>
#include <exception>

#include "platform/file.h"
#include "siblings/venit/log_line.h"
#include "siblings/venit/text_convert.h"

namespace venit::detail {
namespace {

// The folder is made here, through the platform layer, so that its rules for paths and
// permissions apply; spdlog's own attempt then finds it in place.
void CreateParentFolder(const std::string& path) {
    const std::size_t separator = path.find_last_of("/\\");
    if (separator == std::string::npos || separator == 0) {
        return;
    }
    const std::u16string folder = Utf8ToUtf16(std::string_view(path).substr(0, separator));
    static_cast<void>(hvx::os::CreateDirectoryTree(folder.c_str()));
}

}  // namespace

void LogFile::SetPath(std::string path) {
    Flush();
    m_sink.reset();
    m_path = std::move(path);
    m_off = m_path.empty();
}

std::string LogFile::Path() const {
    return m_off ? std::string() : m_path;
}

void LogFile::SetRotation(std::size_t maxBytes, std::size_t maxFiles) {
    Flush();
    m_sink.reset();
    m_maxBytes = std::max<std::size_t>(maxBytes, 1);
    m_maxFiles = std::max<std::size_t>(maxFiles, 1);
}

void LogFile::Write(const spdlog::details::log_msg& message) {
    if (!m_sink && !Open()) {
        return;
    }
    // Every record reaches the disk at once: the records before a crash are the ones wanted.
    try {
        m_sink->log(message);
        m_sink->flush();
    } catch (const std::exception& failure) {
        TurnOff(failure.what());
    }
}

void LogFile::Flush() {
    if (!m_sink) {
        return;
    }
    try {
        m_sink->flush();
    } catch (const std::exception& failure) {
        TurnOff(failure.what());
    }
}

bool LogFile::Open() {
    if (m_off) {
        return false;
    }
    CreateParentFolder(m_path);
    try {
        // spdlog counts the rotated files only.
        m_sink = std::make_unique<spdlog::sinks::rotating_file_sink_st>(m_path, m_maxBytes,
                                                                        m_maxFiles - 1);
        m_sink->set_formatter(RecordFormatter());
        return true;
    } catch (const std::exception& failure) {
        TurnOff(failure.what());
        return false;
    }
}

void LogFile::TurnOff(const char* reason) {
    m_sink.reset();
    m_off = true;
    static_cast<void>(
        std::fprintf(stderr, "venit: records are not written to a file: %s\n", reason));
}

}  // namespace venit::detail
