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
    if (!db.Open(path, SQLITE_OPEN_READONLY)) {
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

// Saves generation after generation of numbers, and writes one byte to `committedFd` after
// each generation is in the file. Runs until it is killed.
[[noreturn]] void SaveGenerations(const std::string& path, int committedFd) {
    CConfig config(path);
    for (std::uint32_t generation = 1;; ++generation) {
        for (int i = 0; i < kGenerationKeys; ++i) {
            config.Store().Put("config/gen/k" + std::to_string(i), Value::Dword(generation),
                               Persist::Saved);
        }
        if (config.Save(0) != 1 || write(committedFd, "c", 1) != 1) {
            _exit(1);
        }
    }
}

// The number of bytes until end of file.
std::uint32_t CountBytes(int fd) {
    std::uint32_t count = 0;
    std::array<char, 256> buffer{};
    for (ssize_t got = 0; (got = read(fd, buffer.data(), buffer.size())) > 0;) {
        count += static_cast<std::uint32_t>(got);
    }
    return count;
}

// The library's own Load is the first to open the store after the kill: nothing else may roll
// the journal back for it.
TEST_F(DurabilityTest, FirstLoadAfterAWriterKilledMidSaveHealsTheStore) {
    constexpr int kRounds = 200;
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<int> delayUs(0, 40000);
    int healed = 0;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const std::string path = (m_dir / ("killed" + std::to_string(round) + ".db")).string();
        std::array<int, 2> committed{};
        ASSERT_EQ(pipe(committed.data()), 0);
        const pid_t pid = fork();
        if (pid == 0) {
            close(committed[0]);
            SaveGenerations(path, committed[1]);
        }
        ChildGuard child(pid);
        close(committed[1]);
        char first = 0;
        ASSERT_EQ(read(committed[0], &first, 1), 1) << "the writer never saved";
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
        child.Kill();
        const std::uint32_t lastCommitted = 1 + CountBytes(committed[0]);
        close(committed[0]);

        m_log.Clear();
        CConfig reader(path);
        ASSERT_EQ(reader.Load(0), 1) << testing::PrintToString(m_log.Errors());
        healed += m_log.HasError("tolva::CStoreFile::Read: " + path +
                                 ": rolled back a save that was interrupted")
                      ? 1
                      : 0;
        EXPECT_EQ(IntegrityCheck(path), "ok");
        // The kill may land after a commit and before its byte was written.
        const auto entries = reader.Store().List("config/gen/");
        ASSERT_EQ(entries.size(), std::size_t{kGenerationKeys});
        for (const auto& entry : entries) {
            ASSERT_TRUE(entry.second.number == lastCommitted ||
                        entry.second.number == lastCommitted + 1)
                << entry.first << " holds generation " << entry.second.number
                << ", the last committed is " << lastCommitted;
        }
    }
    EXPECT_GT(healed, 0) << "no kill left a journal behind; the test proved nothing";
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
    EXPECT_EQ(Open(path)->GetDword("config/x"), 1U);
}

// A table with a rule of its own stands for any value SQLite will never take (one longer than
// its length limit is the other kind): the change is dropped, the rest of the Save is written,
// and it no longer blocks the next Save.
TEST_F(DurabilityTest, AChangeSQLiteRefusesIsDroppedAndLaterSavesWork) {
    const std::string path = (m_dir / "strict.db").string();
    {
        CSqliteDb db;
        ASSERT_TRUE(db.Open(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE));
        ASSERT_TRUE(
            db.Exec("CREATE TABLE config (key TEXT PRIMARY KEY NOT NULL, type TEXT NOT "
                    "NULL, value NOT NULL CHECK (length(value) < 8))"));
    }
    CConfig config(path);
    ASSERT_EQ(config.Load(0), 1);
    ASSERT_EQ(config.AddString("config/long", u"longer than the rule", 1), 1);
    ASSERT_EQ(config.AddDword("config/short", 1, 1), 1);
    EXPECT_EQ(config.Save(0), 0);
    EXPECT_EQ(m_log.Errors(),
              std::vector<std::string>{"tolva::CStoreFile::Write: " + path +
                                       ": the value of config/long was refused (CHECK constraint "
                                       "failed: length(value) < 8); the change is dropped"});
    ASSERT_EQ(config.AddDword("config/later", 2, 1), 1);
    EXPECT_EQ(config.Save(0), 1);

    const std::vector<Entry> expected{{"config/later", Value::Dword(2)},
                                      {"config/short", Value::Dword(1)}};
    EXPECT_EQ(Open(path)->Store().List("config/"), expected);
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
