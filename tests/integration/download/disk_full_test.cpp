// A disk that fills up during a download: the target is on a small tmpfs, mounted in a private
// mount namespace of a forked child so that nothing stays mounted and the test's own view of the
// file system never changes. Needs root (CAP_SYS_ADMIN), as CI has; elsewhere it is skipped.
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>

#include "tests/integration/download/download_fixture.h"

namespace hvx::test {
namespace {

constexpr std::size_t kBigSize = std::size_t{4} << 20U;
constexpr const char* kSmallDisk = "size=256k";

// What the child reports through its pipe.
struct ChildReport {
    bool mounted = false;
    HRESULT result = S_OK;
    bool fileLeft = true;
    bool writeErrorLogged = false;
};

// Runs in the child: the namespace, the mount, then the download on a thread of its own, so that
// it opens its own connection instead of one the parent's thread keeps.
ChildReport DownloadOntoSmallDisk(const TrustedBackend& backend,
                                  const std::filesystem::path& mountPoint) {
    ChildReport report;
    report.mounted = unshare(CLONE_NEWNS) == 0 &&
                     mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                     mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, kSmallDisk) == 0;
    if (!report.mounted) {
        return report;
    }
    const std::filesystem::path target = mountPoint / "big.bin";
    std::thread([&] {
        LogCapture log;
        report.result = backend.NewDownloader()->DownloadHttpFile(
            backend.WideUrl("/files/big.bin").c_str(), target.u16string().c_str(), {});
        report.writeErrorLogged =
            log.HasError("hvx::CHttpCurl::WriteData : WriteFile: unable to write using callback");
    }).join();
    report.fileLeft = std::filesystem::exists(target);
    return report;
}

TEST_F(DownloadTest, DiskThatFillsUpFailsTheTransferAndDeletesThePartialFile) {
#if defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the thread sanitizer cannot start a thread in a child forked from a process "
                    "that has threads (the backend's)";
#endif
    WriteFile(backend.Served() / "big.bin", ServedContent(kBigSize));
    const std::filesystem::path mountPoint = folder / "small";
    std::filesystem::create_directories(mountPoint);
    std::array<int, 2> pipeEnds{};
    ASSERT_EQ(pipe(pipeEnds.data()), 0);

    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        close(pipeEnds[0]);
        const ChildReport report = DownloadOntoSmallDisk(backend, mountPoint);
        const bool sent = write(pipeEnds[1], &report, sizeof(report)) == sizeof(report);
        _exit(sent ? 0 : 1);
    }
    close(pipeEnds[1]);
    ChildReport report;
    const bool received = read(pipeEnds[0], &report, sizeof(report)) == sizeof(report);
    close(pipeEnds[0]);
    int childStatus = 0;
    ASSERT_EQ(waitpid(child, &childStatus, 0), child);
    ASSERT_TRUE(received);
    if (!report.mounted) {
        GTEST_SKIP() << "a private mount namespace needs root (CAP_SYS_ADMIN)";
    }

    EXPECT_EQ(report.result, HVX_E_TRANSFER_FAILED);
    EXPECT_FALSE(report.fileLeft);
    EXPECT_TRUE(report.writeErrorLogged);
    // The mount lived and died with the child's namespace.
    EXPECT_TRUE(std::filesystem::is_empty(mountPoint));
}

}  // namespace
}  // namespace hvx::test
