#include "siblings/venit/log_file.h"

#include <algorithm>
#include <cstdio>
#include <exception>

#include "platform/file.h"
#include "platform/file_target.h"
#include "platform/last_error.h"
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

// Only a regular file, or no file yet, is opened for the log: a link at the name is not
// followed and a pipe or device is never opened, so a record cannot be written into another
// file and opening cannot block. Throws what spdlog throws, so the file is turned off.
void RefuseOtherThanAFile(const std::u16string& name) {
    const DWORD found = hvx::os::CheckFileTarget(name.c_str());
    if (found == ERROR_SUCCESS || found == ERROR_FILE_NOT_FOUND || found == ERROR_PATH_NOT_FOUND) {
        return;
    }
    throw spdlog::spdlog_ex("the log file's name is taken by a link, pipe, device or folder");
}

// Host names, store paths and keys go into the log: a file spdlog is about to open, the first
// one or a new one after rotation, is created readable by its user only, never through a link
// (an exclusive create does not follow one). spdlog then opens it as it stands (a failure here
// shows as spdlog's own).
spdlog::file_event_handlers PrivateFileHandlers() {
    spdlog::file_event_handlers handlers;
    handlers.before_open = [](const spdlog::filename_t& name) {
        CreateParentFolder(name);
        const std::u16string wide = Utf8ToUtf16(name);
        RefuseOtherThanAFile(wide);
        static_cast<void>(hvx::os::CreatePrivateFile(wide.c_str()));
    };
    return handlers;
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
    try {
        // spdlog counts the rotated files only.
        m_sink = std::make_unique<spdlog::sinks::rotating_file_sink_st>(
            m_path, m_maxBytes, m_maxFiles - 1, false, PrivateFileHandlers());
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
