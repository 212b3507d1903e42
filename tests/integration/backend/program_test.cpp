// The caspo-backend program: its announcement, its ready file, and its stop on a signal.
#include <json/json.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <sstream>
#include <string>
#include <thread>

#include "tests/integration/backend/curl_fetch.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"

namespace hvx::test {
namespace {

// Only a guard against a program that never gets ready; nothing is timed.
constexpr auto kReadyGuard = std::chrono::seconds(60);

class ProgramRun {
public:
    explicit ProgramRun(const TempDir& folder)
        : m_folder(folder),
          m_process(CASPO_BACKEND_PROGRAM,
                    {CASPO_BACKEND_PROGRAM, "--tls-dir", (folder / "tls").string(), "--ready-file",
                     ReadyFile().string()},
                    {.out = OutputFile()}) {}

    bool Spawned() const { return m_process.Running(); }
    std::filesystem::path ReadyFile() const { return m_folder / "ready.json"; }
    std::filesystem::path OutputFile() const { return m_folder / "stdout.txt"; }

    std::optional<Json::Value> WaitUntilReady() const {
        const auto guard = std::chrono::steady_clock::now() + kReadyGuard;
        while (!std::filesystem::exists(ReadyFile()) && std::chrono::steady_clock::now() < guard) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        Json::Value ready;
        std::istringstream in(ReadWholeFile(ReadyFile()).value_or(""));
        if (!Json::parseFromStream(Json::CharReaderBuilder(), in, &ready, nullptr)) {
            return std::nullopt;
        }
        return ready;
    }

    // The exit status after `signal`, or -1 when the program did not exit by itself.
    int StopWith(int signal) {
        m_process.Signal(signal);
        return m_process.Wait();
    }

private:
    const TempDir& m_folder;
    ChildProcess m_process;
};

class BackendProgram : public ::testing::TestWithParam<int> {};

TEST_P(BackendProgram, AnnouncesItsListenersAndStopsCleanlyOnASignal) {
    const TempDir folder;
    ProgramRun run(folder);
    ASSERT_TRUE(run.Spawned());
    const auto ready = run.WaitUntilReady();
    ASSERT_TRUE(ready);
    const std::string http = (*ready)["http"].asString();
    const std::string https = (*ready)["https"].asString();
    EXPECT_EQ((*ready)["trust"].asString(), (folder / "tls" / "trust.json").string());
    EXPECT_EQ(Fetch(http + "/echo").status, 200);
    EXPECT_EQ(Fetch(https + "/echo", {.caFile = folder / "tls" / "ca.pem"}).status, 200);

    EXPECT_EQ(run.StopWith(GetParam()), 0);
    const std::string output = ReadWholeFile(run.OutputFile()).value_or("");
    EXPECT_NE(output.find("caspo-backend: listening on " + http + "\n"), std::string::npos);
    EXPECT_NE(output.find("caspo-backend: listening on " + https + "\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(run.ReadyFile()));
    EXPECT_EQ(Fetch(http + "/echo").code, CURLE_COULDNT_CONNECT);
}

INSTANTIATE_TEST_SUITE_P(Signals, BackendProgram, ::testing::Values(SIGTERM, SIGINT),
                         [](const auto& test) {
                             return test.param == SIGTERM ? "SIGTERM" : "SIGINT";
                         });

}  // namespace
}  // namespace hvx::test
