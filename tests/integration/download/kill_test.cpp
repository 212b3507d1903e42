// `caspo download` killed with SIGKILL at random moments of a download that takes about a second
// (counted from the moment the file beside the target appears, so a slow start does not matter):
// the target holds the old file or the whole new one, never a part of it, and at most the file
// beside it is left, under its documented name.
#include <csignal>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tests/integration/download/download_fixture.h"
#include "tests/support/child_process.h"

namespace hvx::test {
namespace {

namespace fs = std::filesystem;

constexpr int kRounds = 12;
constexpr std::size_t kBodySize = 1000000;
// 123 chunks of 8 KiB, 8 ms apart: about a second on the wire.
constexpr const char* kSlowBody = "/slow?bytes=1000000&chunk=8192&interval_ms=8";
constexpr int kLongestWaitMs = 1200;
constexpr auto kStartGuard = std::chrono::seconds(30);
constexpr auto kPoll = std::chrono::milliseconds(2);
constexpr const char* kOldFile = "the old file";

std::string Narrow(const std::u16string& text) {
    return fs::path(text).string();
}

std::string Describe(const std::optional<std::string>& content) {
    if (!content) {
        return "nothing";
    }
    if (*content == kOldFile) {
        return "the old file";
    }
    return *content == std::string(kBodySize, 'x') ? "the whole body"
                                                   : std::to_string(content->size()) + " bytes";
}

// The files the killed run left beside the target.
std::vector<fs::path> LeftBeside(const fs::path& folder, const fs::path& target) {
    std::vector<fs::path> left;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (entry.path() != target) {
            left.push_back(entry.path());
        }
    }
    return left;
}

// Waits until the download has begun writing (beside the target, or anywhere at all), or has
// ended.
bool Started(ChildProcess& caspo, const fs::path& folder, const fs::path& target) {
    const std::string before = Describe(ReadWholeFile(target));
    const auto guard = std::chrono::steady_clock::now() + kStartGuard;
    while (std::chrono::steady_clock::now() < guard) {
        if (!LeftBeside(folder, target).empty() || Describe(ReadWholeFile(target)) != before ||
            caspo.Ended()) {
            return true;
        }
        std::this_thread::sleep_for(kPoll);
    }
    return false;
}

TEST_F(DownloadTest, KilledDownloadLeavesTheOldFileOrTheWholeNewOne) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> waitMs(0, kLongestWaitMs);
    const std::string url = Narrow(backend.WideUrl(kSlowBody));
    const fs::path work = folder / "work";
    const fs::path target = work / "download.bin";
    int killedMidway = 0;

    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        fs::remove_all(work);
        fs::create_directory(work);
        const bool oldFile = round % 2 == 0;
        if (oldFile) {
            WriteFile(target, kOldFile);
        }
        ChildProcess caspo(CASPO_CLI_PROGRAM, {CASPO_CLI_PROGRAM, "download", url, target.string()},
                           {folder / "cli.out", folder / "cli.err"});
        ASSERT_TRUE(Started(caspo, work, target)) << "the download never started";
        std::this_thread::sleep_for(std::chrono::milliseconds(waitMs(random)));
        caspo.Signal(SIGKILL);
        static_cast<void>(caspo.Wait());

        const std::string found = Describe(ReadWholeFile(target));
        EXPECT_TRUE(found == "the whole body" || found == (oldFile ? "the old file" : "nothing"))
            << found;
        const std::vector<fs::path> left = LeftBeside(work, target);
        ASSERT_LE(left.size(), 1U);
        if (!left.empty()) {
            const std::string name = left.front().filename().string();
            EXPECT_TRUE(name.starts_with("download.bin.caspo-") && name.ends_with(".part")) << name;
            killedMidway += fs::file_size(left.front()) > 0 ? 1 : 0;
        }
    }
    // Most rounds end mid-transfer; one is enough to prove the point.
    EXPECT_GT(killedMidway, 0);
}

}  // namespace
}  // namespace hvx::test
