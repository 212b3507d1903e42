// What only POSIX shows of the log file: its mode, and a FIFO at its name.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "siblings/venit/venit.h"
#include "tests/support/file_access.h"
#include "tests/unit/venit/log_fixture.h"

namespace {

using namespace venit::test;

// Checked with no umask, so that a file created with the default mode shows as 0666.
TEST_F(LogTest, LogFilesAreReadableByTheirUserOnlyAlsoAfterRotation) {
    constexpr std::size_t kMaxBytes = 200;
    const mode_t previousMask = ::umask(0);
    venit::SetLogRotation(kMaxBytes, 2);
    for (int n = 0; n < 10; ++n) {
        error("rotation record %d, padded to make the line longer", n);
    }
    venit::Flush();
    ::umask(previousMask);

    EXPECT_TRUE(hvx::test::OnlyItsOwnerMayOpen(m_dir / "caspo.log"));
    EXPECT_TRUE(hvx::test::OnlyItsOwnerMayOpen(m_dir / "caspo.1.log"));
}

// A link at the log's name is not written through and a pipe there is not opened (a blocking
// open would hang this test): the file is turned off, and the linked file keeps its bytes.
TEST_F(LogTest, ALinkOrPipeAtTheLogNameIsNotOpened) {
    hvx::test::WriteFile(m_dir / "other.txt", "kept");
    fs::create_symlink(m_dir / "other.txt", m_dir / "linked.log");
    ASSERT_EQ(::mkfifo((m_dir / "pipe.log").c_str(), 0600), 0);
    for (const char* name : {"linked.log", "pipe.log"}) {
        venit::SetLogFile((m_dir / name).string());
        StderrCapture capture(m_dir / "stderr.txt");
        error("not for %s", name);
        const auto said = Lines(capture.Finish());

        ASSERT_EQ(said.size(), 1U) << name;
        EXPECT_EQ(said[0],
                  "venit: records are not written to a file: the log file's name is taken by a "
                  "link, pipe, device or folder");
        EXPECT_EQ(venit::GetLogFile(), "") << name;
    }
    EXPECT_EQ(hvx::test::ReadWholeFile((m_dir / "other.txt").string()), "kept");
}

}  // namespace
