// File requests that meet what only POSIX has: a FIFO at the target, and files renamed away
// while the session holds them open (Windows refuses to rename a file opened without sharing).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

#include "tests/unit/session/file_request_fixture.h"

namespace hvx::test {
namespace {

namespace fs = std::filesystem;

constexpr auto kFifoPatience = std::chrono::seconds(5);

// Opens the FIFO from the other end once a call has had long enough, so that a call that waits
// for a reader ends and the test can say so.
class FifoRescue {
public:
    explicit FifoRescue(fs::path fifo)
        : m_thread([this, fifo = std::move(fifo)](const std::stop_token& stop) {
              std::mutex mutex;
              std::condition_variable_any wake;
              std::unique_lock lock(mutex);
              // Nothing notifies: the wait ends at the stop request or when patience runs out.
              static_cast<void>(wake.wait_for(lock, stop, kFifoPatience, [] { return false; }));
              if (!stop.stop_requested()) {
                  m_fd = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
              }
          }) {}
    ~FifoRescue() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    FifoRescue(const FifoRescue&) = delete;
    FifoRescue& operator=(const FifoRescue&) = delete;
    FifoRescue(FifoRescue&&) = delete;
    FifoRescue& operator=(FifoRescue&&) = delete;

    // Whether the call had to be rescued.
    bool Rescued() {
        m_thread.request_stop();
        m_thread.join();
        return m_fd >= 0;
    }

private:
    int m_fd = -1;
    std::jthread m_thread;
};

using FileRequestPosixTest = FileRequestCaseTest;

TEST_F(FileRequestPosixTest, FifoIsNeitherOpenedNorWaitedFor) {
    ASSERT_EQ(::mkfifo((folder / "download.bin").c_str(), 0600), 0);
    FifoRescue rescue(folder / "download.bin");
    EndsAs({.name = "FifoIsNeitherOpenedNorWaitedFor",
            .script = Answer(200, "server"),
            .result = HRESULT_FROM_WIN32(ERROR_BAD_FILE_TYPE),
            .refused = true,
            .errors = RefusalRecords("0x800700de")});
    EXPECT_FALSE(rescue.Rescued());
}

TEST_F(FileRequestPosixTest, FilesThatCannotBeDeletedAreLogged) {
    EndsAs({.name = "FilesThatCannotBeDeletedAreLogged",
            .script = Answer(304),
            .before = Before::File,
            .midway = Midway::BothBecomeUndeletable,
            .status = 304,
            .after = {{"download.bin", "folder"}, {"moved.bin", "file:"}},
            .errors = {"hvx::CHttpCurl::MakeFileRequest unable to delete file: <beside>. download "
                       "failed: 0x0",
                       "hvx::CHttpCurl::MakeFileRequest unable to delete file: <path>. download "
                       "failed: 0x0"}});
}

}  // namespace
}  // namespace hvx::test
