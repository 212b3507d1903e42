// The caspo program against caspo-backend (in-process, HTTPS with a CA of its own): each command
// once, exit statuses and exact outputs, the TLS warning and the reason of a failed transfer,
// and Ctrl-C during a download.
#include <json/json.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/integration/cli/cli_run.h"
#include "tests/support/local_port.h"
#include "tests/support/temp_dir.h"
#include "tools/backend/backend.h"

namespace hvx::test {
namespace {

constexpr std::size_t kHttpsListener = 1;
// Only a guard against a download that never starts; nothing is timed.
constexpr auto kStartGuard = std::chrono::seconds(60);
constexpr auto kPoll = std::chrono::milliseconds(20);
constexpr const char* kJsonError = "/status/404?result=0xC1050005&detail=gone";
constexpr const char* kRefusedMessage =
    "0xC1050005 The management server did not accept the event.";

// The size of the file a download writes beside its target ("<name>.caspo-<tag>.part") until it
// is complete; 0 while there is none.
std::uintmax_t PartialSize(const std::filesystem::path& target) {
    const std::string start = target.filename().string() + ".caspo-";
    for (const auto& entry : std::filesystem::directory_iterator(target.parent_path())) {
        if (entry.path().filename().string().starts_with(start)) {
            std::error_code gone;
            const std::uintmax_t size = std::filesystem::file_size(entry.path(), gone);
            return gone ? 0 : size;
        }
    }
    return 0;
}

std::optional<Json::Value> ParseJson(const std::string& text) {
    Json::Value value;
    std::istringstream in(text);
    const bool parsed = Json::parseFromStream(Json::CharReaderBuilder(), in, &value, nullptr);
    return parsed ? std::optional(value) : std::nullopt;
}

class CliTest : public ::testing::Test {
protected:
    // One backend per program; its store is set up with the program under test.
    static void SetUpTestSuite() {
        s_top = std::make_unique<TempDir>();
        std::filesystem::create_directories(s_top->path() / "files");
        WriteFile(s_top->path() / "files" / "notes.txt", "the agent's notes\n");
        backend::BackendOptions options;
        options.filesDir = s_top->path() / "files";
        options.tlsDir = s_top->path() / "tls";
        options.uploadDir = s_top->path() / "files";
        options.uploadUser = "agent:";  // "agent" without a password, and nobody else
        options.updateDir = s_top->path() / "update";
        options.offer = backend::UpdateOffer{"6.6.0", s_top->path() / "files" / "notes.txt", {}, 2};
        s_backend = std::make_unique<backend::Backend>(options);
        s_started = s_backend->Start();
        if (s_started.empty()) {
            s_import =
                RunCli({"--store", Store(), "config", "import", s_backend->TrustFile()->string()},
                       s_top->path());
        }
    }
    static void TearDownTestSuite() {
        s_backend.reset();
        s_top.reset();
    }
    void SetUp() override {
        ASSERT_EQ(s_started, "");
        ASSERT_EQ(s_import.exit, 0) << s_import.err;
    }

    static std::string Store() { return (s_top->path() / "store.db").string(); }
    static std::filesystem::path Top() { return s_top->path(); }
    static std::string Url(const std::string& target) {
        return s_backend->Listeners().at(kHttpsListener).url + target;
    }
    CliResult Run(std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(), {"--store", Store()});
        return RunCli(arguments, folder.path());
    }

    TempDir folder;

private:
    static inline std::unique_ptr<TempDir> s_top;
    static inline std::unique_ptr<backend::Backend> s_backend;
    static inline std::string s_started;
    static inline CliResult s_import;
    NoEnvironmentProxies m_noProxies;
};

TEST_F(CliTest, GetOfAJsonErrorFailsWithTheServersCode) {
    const CliResult result = Run({"get", Url(kJsonError)});
    EXPECT_EQ(result.exit, 1);
    EXPECT_EQ(result.out, std::string("status: none (the library reports no status for a failed "
                                      "request)\nresult: ") +
                              kRefusedMessage + "\n");
    EXPECT_EQ(result.err, std::string("caspo get: ") + kRefusedMessage + "\n");
}

TEST_F(CliTest, PostSendsFormFieldsAndHeaders) {
    const CliResult result =
        Run({"--json", "post", Url("/echo"), "-F", "a b=1&2", "-H", "X-Trace: 7"});
    ASSERT_EQ(result.exit, 0) << result.err;
    const auto printed = ParseJson(result.out);
    ASSERT_TRUE(printed) << result.out;
    EXPECT_EQ((*printed)["status"].asUInt(), 200U);
    EXPECT_EQ((*printed)["result"].asString(), "0x00000000");
    const Json::Value echoed = ParseJson((*printed)["body"].asString()).value_or(Json::Value());
    EXPECT_EQ(echoed["method"].asString() + " " + echoed["body"].asString(), "POST a%20b=1%262");
    Json::Value traced;
    traced["name"] = "X-Trace";
    traced["value"] = "7";
    const Json::Value& headers = echoed["headers"];
    EXPECT_NE(std::find(headers.begin(), headers.end(), traced), headers.end()) << headers;
}

TEST_F(CliTest, DownloadSavesTheFile) {
    const std::string target = (folder / "notes.txt").string();
    const CliResult result = Run({"download", Url("/files/notes.txt"), target});
    EXPECT_EQ(result.exit, 0);
    EXPECT_EQ(result.out,
              "result: 0x00000000 The operation succeeded.\nfile: " + target + " (18 bytes)\n");
    EXPECT_EQ(result.err, "");  // no terminal, no progress line
    EXPECT_EQ(ReadWholeFile(folder / "notes.txt"), "the agent's notes\n");
}

TEST_F(CliTest, DownloadOfAnAnswerWithoutFileFails) {
    const std::string target = (folder / "empty.bin").string();
    const CliResult result = Run({"download", Url("/status/204"), target});
    EXPECT_EQ(result.exit, 1);
    EXPECT_EQ(result.err, "caspo download: 0xC1200001 The server did not deliver the file.\n");
}

// A store without the TLS keys runs HTTPS with both checks off: every command that makes a
// request warns once, before it (for get there is no store file at all, and none is made). A
// failed transfer names the engine's reason on both streams. The management and client commands
// take their URLs from the store.
TEST_F(CliTest, WarnsAboutChecksThatAreOffAndShowsWhyATransferFailed) {
    const std::string port = std::to_string(FreePort());
    const std::string closed = "https://127.0.0.1:" + port;
    const std::string notes = (Top() / "files" / "notes.txt").string();
    struct Row {
        std::vector<std::string> words;
        std::vector<std::pair<std::string, std::string>> keys;
    };
    const std::vector<Row> rows = {
        {{"get", closed + "/x"}, {}},
        {{"register", "--repeat", "2"}, {{"config/ostra/endpoint/mgmt", closed + "/mgmt/"}}},
        {{"event", "1", "2", "x"}, {{"config/ostra/endpoint/event", closed + "/event"}}},
        {{"policy", "0x20000007", "p.xml"},
         {{"config/ostra/endpoint/policy/policy", closed + "/p"}}},
        {{"upload", closed + "/upload", notes}, {}},
        {{"inventory", "update", notes}, {{"config/agent/kbt/endpoint/update", closed + "/i"}}},
        {{"update", "check"},
         {{"config/updater/protocol", "https"},
          {"config/updater/server", "127.0.0.1:" + port},
          {"config/updater/path", "/seed.xml"}}},
    };
    const std::string reason = "Failed to connect to 127.0.0.1 port " + port + " after ";
    const std::string off = " verification is off for HTTPS: config/conn/varenssl/verify";
    const std::string warnings = "caspo: warning: TLS host" + off +
                                 "host is absent (only 1 turns it on)\ncaspo: warning: TLS peer" +
                                 off + "peer is absent (only 1 turns it on)\n";
    for (const Row& row : rows) {
        const std::string name = row.words[0] == "update" ? "update check" : row.words[0];
        const std::filesystem::path store = folder / (row.words[0] + ".db");
        for (const auto& [key, value] : row.keys) {
            ASSERT_EQ(
                RunCli({"--store", store.string(), "config", "set", key, value}, folder.path())
                    .exit,
                0);
        }
        std::vector<std::string> words = {"--store", store.string()};
        words.insert(words.end(), row.words.begin(), row.words.end());
        const CliResult result = RunCli(words, folder.path());
        EXPECT_EQ(result.exit, 1) << name;
        EXPECT_NE(result.out.find("\nreason: " + reason), std::string::npos) << result.out;
        std::string own = "caspo ";
        own.append(name).append(": ");
        EXPECT_EQ(result.err.rfind(warnings + own, 0), 0U) << result.err;
        EXPECT_EQ(result.err.find("warning", warnings.size()), std::string::npos) << result.err;
        EXPECT_NE(result.err.find(own + reason), std::string::npos) << result.err;
        EXPECT_EQ(std::filesystem::exists(store), !row.keys.empty()) << name;
    }
}

TEST_F(CliTest, HostPrintsTheReportAsJson) {
    const CliResult result = Run({"--json", "host"});
    EXPECT_TRUE(result.exit == 0 || result.exit == 1) << result.exit;
    const auto printed = ParseJson(result.out);
    ASSERT_TRUE(printed) << result.out;
    EXPECT_TRUE(printed->isMember("fqdn"));
    EXPECT_TRUE(printed->isMember("adapters"));
}

TEST_F(CliTest, CommandLineMistakesExitWithTwo) {
    EXPECT_EQ(Run({"get"}).err.rfind("caspo get: a URL is needed\n", 0), 0U);
    EXPECT_EQ(Run({"get"}).exit, 2);
    EXPECT_EQ(Run({"post", Url("/echo"), "-F", "novalue"}).exit, 2);
    EXPECT_EQ(Run({"download", Url("/files/notes.txt")}).exit, 2);
    EXPECT_EQ(Run({"fetch"}).exit, 2);
    EXPECT_EQ(RunCli({"--store"}, folder.path()).exit, 2);
}

TEST_F(CliTest, UploadInventoryAndUpdateCheckReportEachStep) {
    const std::string server = Url("").substr(std::string("https://").size());
    for (const auto& words : std::vector<std::vector<std::string>>{
             {"config", "import", (Top() / "update" / "signer-trust.json").string()},
             {"config", "set", "config/agent/version", "6.5.0", "--type", "wide"},
             {"config", "set", "config/agent/kbt/endpoint/update", Url("/inventory/update")},
             {"config", "set", "config/updater/protocol", "https"},
             {"config", "set", "config/updater/server", server},
             {"config", "set", "config/updater/path", "/update/seed.xml"}}) {
        ASSERT_EQ(Run(words).exit, 0) << words[2];
    }
    const std::string notes = (Top() / "files" / "notes.txt").string();
    const std::string succeeded = "result: 0x00000000 The operation succeeded.\n";
    EXPECT_EQ(Run({"upload", Url("/upload"), notes, "--field", "k=v", "--user", "agent"}).out,
              succeeded + "file: " + notes + " (18 bytes)\n");
    for (const auto& other : {"agent:s3cret", "someone"}) {
        EXPECT_EQ(Run({"upload", Url("/upload"), notes, "--user", other})
                      .err.rfind("caspo upload: 0xC1200012 ", 0),
                  0U)
            << other;
    }
    const auto printed = ParseJson(Run({"--json", "get", Url("/upload")}).out);
    const auto uploads = printed ? ParseJson((*printed)["body"].asString()) : std::nullopt;
    ASSERT_TRUE(uploads && uploads->size() == 1) << "only the accepted upload is recorded";
    const Json::Value& upload = (*uploads)[0];
    EXPECT_EQ(upload["user"].asString() + (upload["password_given"].asBool() ? ":*" : ":"),
              "agent:");
    std::string parts;
    for (const Json::Value& part : upload["parts"]) {
        parts += part["name"].asString() + "=" + part.get("text", "(file)").asString() + " ";
    }
    EXPECT_EQ(parts, "k=v version=6.5.0 encrypted=0 file=(file) ");
    EXPECT_EQ(ReadWholeFile(upload["parts"][3]["stored"].asString()), "the agent's notes\n");

    EXPECT_EQ(Run({"inventory", "update", notes}).out,
              "status: 200\n" + succeeded + "\n{\"bytes\":18,\"kind\":\"update\"}\n");
    EXPECT_EQ(Run({"inventory", "stock", notes}).exit, 2);
    EXPECT_EQ(Run({"update", "check"}).out,
              succeeded +
                  "\nseed: status 200\noffered: 6.6.0 (type 2)\n"
                  "newer than this agent: yes, recorded under config/updater/available\n");
}

TEST_F(CliTest, CtrlCDuringADownloadAbortsItAndRemovesThePartialFile) {
    const std::filesystem::path target = folder / "slow.bin";
    CliRun run({"--store", Store(), "download",
                Url("/slow?bytes=100000000&chunk=4096&interval_ms=5"), target.string()},
               folder.path());
    ASSERT_TRUE(run.Started());
    const auto guard = std::chrono::steady_clock::now() + kStartGuard;
    while (PartialSize(target) == 0 && std::chrono::steady_clock::now() < guard) {
        std::this_thread::sleep_for(kPoll);
    }
    ASSERT_GT(PartialSize(target), 0U) << "the download never started";

    run.Signal(SIGINT);
    EXPECT_EQ(run.Wait(), 130);
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_EQ(run.Err(), "caspo download: interrupted\n");
}

}  // namespace
}  // namespace hvx::test
