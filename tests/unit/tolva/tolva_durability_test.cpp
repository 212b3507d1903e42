// The store's file under stress: two writer processes, writers killed mid-save, files that are
// not stores, and stores that cannot be written.
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <random>
#include <set>
#include <thread>

#include "siblings/tolva/sqlite_db.h"
#include "tests/unit/tolva/tolva_fixture.h"

namespace tolva::test {
namespace {

// A child that is killed and reaped when the guard goes, whatever the test did meanwhile.
class ChildGuard {
public:
    explicit ChildGuard(pid_t pid) : m_pid(pid) {}
    ~ChildGuard() { Kill(); }
    ChildGuard(const ChildGuard&) = delete;
    ChildGuard& operator=(const ChildGuard&) = delete;
    ChildGuard(ChildGuard&&) = delete;
    ChildGuard& operator=(ChildGuard&&) = delete;

    void Kill() {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
            m_pid = 0;
        }
    }

private:
    pid_t m_pid;
};

// Runs `body` in a child process; its exit code, or -1 when it did not exit normally.
int RunChild(const std::function<int()>& body) {
    const pid_t pid = fork();
    if (pid == 0) {
        _exit(body());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string IntegrityCheck(const std::string& path) {
    CSqliteDb db;
    if (!db.Open(path, SQLITE_OPEN_READWRITE)) {
        return db.ErrorMessage();
    }
    const SqliteStatement check = db.Prepare("PRAGMA integrity_check");
    if (!check || sqlite3_step(check.get()) != SQLITE_ROW) {
        return db.ErrorMessage();
    }
    return reinterpret_cast<const char*>(sqlite3_column_text(check.get(), 0));
}

using DurabilityTest = StoreTest;

TEST_F(DurabilityTest, TwoProcessesSavingDifferentKeysKeepBoth) {
    auto parent = Open();
    ASSERT_EQ(parent->AddDword("config/parent", 1, 1), 1);
    const int child = RunChild([this] {
        CConfig config(StorePath());
        const bool saved = config.Load(0) == 1 && config.AddDword("config/child", 2, 1) == 1 &&
                           config.Save(0) == 1;
        return saved ? 0 : 1;
    });
    ASSERT_EQ(child, 0);
    ASSERT_EQ(parent->Save(0), 1);  // from a copy loaded before the child saved

    auto reader = Open();
    EXPECT_EQ(reader->GetDword("config/parent"), 1U);
    EXPECT_EQ(reader->GetDword("config/child"), 2U);
}

constexpr int kGenerationKeys = 2000;

// Saves generation after generation of numbers, and says so on `readyFd` once the first one
// is in the file. Runs until it is killed.
[[noreturn]] void SaveGenerations(const std::string& path, int readyFd) {
    CConfig config(path);
    for (std::uint32_t generation = 1;; ++generation) {
        for (int i = 0; i < kGenerationKeys; ++i) {
            config.Store().Put("config/gen/k" + std::to_string(i), Value::Dword(generation),
                               Persist::Saved);
        }
        if (config.Save(0) != 1) {
            _exit(1);
        }
        if (generation == 1 && write(readyFd, "r", 1) != 1) {
            _exit(1);
        }
    }
}

TEST_F(DurabilityTest, WritersKilledMidSaveLeaveAnIntactStoreOfOneGeneration) {
    constexpr int kRounds = 25;
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<int> delayMs(0, 60);
    int interrupted = 0;
    for (int round = 0; round < kRounds; ++round) {
        const std::string path = (m_dir / ("killed" + std::to_string(round) + ".db")).string();
        std::array<int, 2> ready{};
        ASSERT_EQ(pipe(ready.data()), 0);
        const pid_t pid = fork();
        if (pid == 0) {
            close(ready[0]);
            SaveGenerations(path, ready[1]);
        }
        ChildGuard child(pid);
        close(ready[1]);
        char byte = 0;
        const bool started = read(ready[0], &byte, 1) == 1;
        close(ready[0]);
        ASSERT_TRUE(started) << "the writer never saved";
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs(random)));
        child.Kill();

        // A journal left behind means the kill landed inside a transaction.
        interrupted += std::filesystem::exists(path + "-journal") ? 1 : 0;
        EXPECT_EQ(IntegrityCheck(path), "ok") << "round " << round;
        CConfig reader(path);
        ASSERT_EQ(reader.Load(0), 1);
        const auto entries = reader.Store().List("config/gen/");
        std::set<std::uint32_t> generations;
        for (const auto& entry : entries) {
            generations.insert(entry.second.number);
        }
        EXPECT_EQ(entries.size(), std::size_t{kGenerationKeys}) << "round " << round;
        EXPECT_EQ(generations.size(), 1U) << "round " << round;
    }
    EXPECT_GT(interrupted, 0) << "no kill landed inside a save; the test proved nothing";
}

class ForeignFileTest : public StoreTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(ForeignFileTest, IsNeitherReadNorWrittenNorJoinedByAJournal) {
    const auto path = m_dir / "foreign.db";
    hvx::test::WriteFile(path, GetParam());
    CConfig config(path.string());
    EXPECT_EQ(config.Load(0), 0);
    ASSERT_EQ(config.AddDword("config/x", 1, 1), 1);
    EXPECT_EQ(config.Save(0), 0);

    const std::vector<std::string> expected{
        "tolva::CStoreFile::Read: " + path.string() + " is not a configuration database",
        "tolva::CStoreFile::Write: " + path.string() + " is not a configuration database"};
    EXPECT_EQ(m_log.Errors(), expected);
    EXPECT_EQ(hvx::test::ReadWholeFile(path), GetParam());
    const auto entries = std::distance(std::filesystem::directory_iterator(m_dir.path()),
                                       std::filesystem::directory_iterator());
    EXPECT_EQ(entries, 1);
}

INSTANTIATE_TEST_SUITE_P(Tolva, ForeignFileTest,
                         ::testing::Values(std::string("agent settings, not a database\n"),
                                           std::string("SQLite format 3"),
                                           std::string("\x7f"
                                                       "ELF\x02\x01\x01\0\0\0",
                                                       10)));

TEST_F(DurabilityTest, FailedSaveKeepsTheChangesForALaterSave) {
    const auto blocker = m_dir / "blocker";
    hvx::test::WriteFile(blocker, "a file where the store's folder should be");
    const std::string path = (blocker / "config.db").string();
    CConfig config(path);
    ASSERT_EQ(config.Load(0), 1);
    ASSERT_EQ(config.AddDword("config/x", 1, 1), 1);
    EXPECT_EQ(config.Save(0), 0);
    EXPECT_EQ(m_log.Errors(), std::vector<std::string>{
                                  "tolva::CStoreFile::Write: cannot create the folder of " + path});

    std::filesystem::remove(blocker);
    EXPECT_EQ(config.Save(0), 1);
    CConfig reader(path);
    ASSERT_EQ(reader.Load(0), 1);
    EXPECT_EQ(reader.GetDword("config/x"), 1U);
}

constexpr int kNoMount = 77;

// In a mount namespace of its own, with the store's folder bound read-only over itself: Load
// works, Save fails with a record and keeps the change, and after the read-only view is gone
// the same Save succeeds. The exit code is the step that failed, 0 when none did.
int ReadOnlySteps(const std::string& folder, const std::string& path, hvx::test::LogCapture& log) {
    if (unshare(CLONE_NEWNS) != 0 ||
        mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0 ||
        mount(nullptr, folder.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
        return kNoMount;
    }
    log.Clear();
    CConfig config(path);
    if (config.Load(0) != 1 || config.GetDword("config/before") != 1) {
        return 1;
    }
    if (config.AddDword("config/after", 2, 1) != 1 || config.Save(0) != 0) {
        return 2;
    }
    if (log.Errors() != std::vector<std::string>{"tolva::CStoreFile::Write: cannot write " + path +
                                                 ": attempt to write a readonly database"}) {
        return 3;
    }
    if (umount(folder.c_str()) != 0 || config.Save(0) != 1) {
        return 4;
    }
    return 0;
}

TEST_F(DurabilityTest, ReadOnlyStoreLoadsAndSavesOnceWritableAgain) {
    auto writer = Open();
    ASSERT_EQ(writer->AddDword("config/before", 1, 1), 1);
    ASSERT_EQ(writer->Save(0), 1);

    const std::string folder = (m_dir / "agent").string();
    const int result = RunChild([&] { return ReadOnlySteps(folder, StorePath(), m_log); });
    if (result == kNoMount) {
        GTEST_SKIP() << "a read-only bind mount needs CAP_SYS_ADMIN";
    }
    ASSERT_EQ(result, 0) << "step " << result << " failed";
    EXPECT_EQ(Open()->GetDword("config/after"), 2U);
}

}  // namespace
}  // namespace tolva::test
