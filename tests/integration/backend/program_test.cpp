// The caspo-backend program: its announcement, its ready file, and its stop on a signal.
#include <json/json.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <sstream>
#include <string>
#include <thread>

#include "tests/integration/backend/http_fetch.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"

namespace hvx::test {
namespace {

// Only a guard against a program that never gets ready; nothing is timed.
constexpr auto kReadyGuard = std::chrono::seconds(60);

// The JSON of the ready file, once the program has written it.
std::optional<Json::Value> WaitForReadyFile(const std::filesystem::path& file) {
    const auto guard = std::chrono::steady_clock::now() + kReadyGuard;
    while (!std::filesystem::exists(file) && std::chrono::steady_clock::now() < guard) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    Json::Value ready;
    std::istringstream in(ReadWholeFile(file).value_or(""));
    if (!Json::parseFromStream(Json::CharReaderBuilder(), in, &ready, nullptr)) {
        return std::nullopt;
    }
    return ready;
}

class BackendProgram : public ::testing::TestWithParam<int> {};

TEST_P(BackendProgram, AnnouncesItsListenersAndStopsCleanlyOnASignal) {
    const TempDir folder;
    const std::filesystem::path readyFile = folder / "ready.json";
    ChildProcess program(CASPO_BACKEND_PROGRAM,
                         {CASPO_BACKEND_PROGRAM, "--tls-dir", (folder / "tls").string(),
                          "--ready-file", readyFile.string()},
                         {.out = folder / "stdout.txt", .err = {}});
    ASSERT_TRUE(program.Running());
    const auto ready = WaitForReadyFile(readyFile);
    ASSERT_TRUE(ready);
    const std::string http = (*ready)["http"].asString();
    const std::string https = (*ready)["https"].asString();
    EXPECT_EQ((*ready)["trust"].asString(), (folder / "tls" / "trust.json").string());
    EXPECT_EQ(Fetch(http + "/echo").status, 200);
    EXPECT_EQ(Fetch(https + "/echo", {.caFile = folder / "tls" / "ca.pem"}).status, 200);

    program.Signal(GetParam());
    EXPECT_EQ(program.Wait(), 0);
    const std::string output = ReadWholeFile(folder / "stdout.txt").value_or("");
    EXPECT_NE(output.find("caspo-backend: listening on " + http + "\n"), std::string::npos);
    EXPECT_NE(output.find("caspo-backend: listening on " + https + "\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(readyFile));
    EXPECT_EQ(Fetch(http + "/echo").error, httplib::Error::Connection);
}

INSTANTIATE_TEST_SUITE_P(Signals, BackendProgram, ::testing::Values(SIGTERM, SIGINT),
                         [](const auto& test) {
                             return test.param == SIGTERM ? "SIGTERM" : "SIGINT";
                         });

}  // namespace
}  // namespace hvx::test
