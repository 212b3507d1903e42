// The log tests' fixture: a log file in a fresh folder, stderr sent to a file, record texts split
// into lines.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "siblings/venit/venit.h"
#include "tests/support/temp_dir.h"

namespace venit::test {

namespace fs = std::filesystem;

inline constexpr std::uint64_t kEveryLevel = ~std::uint64_t{0};
inline constexpr std::size_t kDefaultRotationBytes = std::size_t{10} * 1024 * 1024;
inline constexpr std::size_t kDefaultRotationFiles = 5;

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// Sends file descriptor 2 to a file while it lives.
class StderrCapture {
public:
    explicit StderrCapture(fs::path file) : m_file(std::move(file)), m_saved(::dup(STDERR_FILENO)) {
        static_cast<void>(std::fflush(stderr));
        const int capture = ::open(m_file.string().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (capture >= 0) {
            ::dup2(capture, STDERR_FILENO);
            ::close(capture);
        }
    }
    ~StderrCapture() { Restore(); }
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;
    StderrCapture(StderrCapture&&) = delete;
    StderrCapture& operator=(StderrCapture&&) = delete;

    std::string Finish() {
        Restore();
        return hvx::test::ReadWholeFile(m_file).value_or("");
    }

private:
    void Restore() {
        if (m_saved >= 0) {
            static_cast<void>(std::fflush(stderr));
            ::dup2(m_saved, STDERR_FILENO);
            ::close(m_saved);
            m_saved = -1;
        }
    }

    fs::path m_file;
    int m_saved;
};

class LogTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_previousFile = venit::GetLogFile();
        venit::SetLogFile(LogPath());
        venit::SetDebugLevel(0);
        venit::SetLogToStderr(false);
    }
    void TearDown() override {
        venit::SetLogFile(m_previousFile);
        venit::SetLogRotation(kDefaultRotationBytes, kDefaultRotationFiles);
        venit::SetDebugLevel(0);
    }
    std::string LogPath() const { return (m_dir / "caspo.log").string(); }

    hvx::test::TempDir m_dir;
    std::string m_previousFile;
};

}  // namespace venit::test
