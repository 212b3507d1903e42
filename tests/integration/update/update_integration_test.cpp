// The update check of `caspo` (the library's update client through its exports) against a real
// nginx (Debian's) serving the seed and the installers: Last-Modified and If-Modified-Since as
// nginx handles them, and each installer's signature checked against the signer the store trusts.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/integration/cli/cli_run.h"
#include "tests/support/nginx_process.h"
#include "tests/unit/update/test_signers.h"

namespace hvx::test {
namespace {

class UpdateIntegration : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(folder / "signer.pem", TestSigners::Shared().trusted.pem);
        const std::string good = SignedBy(TestSigners::Shared().trusted, "MZ next installer");
        WriteFile(nginx.Root() / "good.exe", good);
        WriteFile(nginx.Root() / "tampered.exe", good.substr(0, 3) + "X" + good.substr(4));
        for (const auto& words : std::vector<std::vector<std::string>>{
                 {"set", "config/updater/protocol", "http"},
                 {"set", "config/updater/server", nginx.Url("").substr(7)},
                 {"set", "config/updater/path", "/seed.xml"},
                 {"set", "config/agent/version", "6.5.0"},
                 {"set", "config/updater/signer/cert", "--file", (folder / "signer.pem").string(),
                  "--type", "cert"}}) {
            ASSERT_EQ(Caspo({"config"}, words).exit, 0) << words[1];
        }
    }
    CliResult Caspo(std::vector<std::string> words, const std::vector<std::string>& more = {}) {
        words.insert(words.begin(), {"--store", (folder / "store.db").string()});
        words.insert(words.end(), more.begin(), more.end());
        return RunCli(words, folder.path());
    }
    // A seed offering `installer`, modified `age` ago.
    void Offer(const std::string& installer, std::chrono::seconds age) {
        const auto seed = nginx.Root() / "seed.xml";
        WriteFile(seed, "<update><location>" + nginx.Url("/" + installer) +
                            "</location><hash>-</hash><version>6.6.0</version></update>");
        std::filesystem::last_write_time(seed, std::filesystem::file_time_type::clock::now() - age);
    }

    TempDir folder;
    NginxProcess nginx;
};

TEST_F(UpdateIntegration, TheSeedIsFetchedAgainOnlyWhenNginxSaysItChangedAndSignaturesDecide) {
    const std::string installer = (folder / "installer.exe").string();
    Offer("good.exe", std::chrono::seconds(60));
    const CliResult downloaded = Caspo({"update", "download", installer});
    EXPECT_EQ(downloaded.exit, 0) << downloaded.out << downloaded.err << nginx.Log();
    EXPECT_NE(downloaded.out.find("seed: status 200\n"), std::string::npos);
    EXPECT_NE(downloaded.out.find("installer: status 200, signature accepted"), std::string::npos);
    EXPECT_EQ(ReadWholeFile(installer), ReadWholeFile(nginx.Root() / "good.exe"));
    EXPECT_NE(Caspo({"update", "status"}).out.find("verified installer recorded: yes"),
              std::string::npos);

    const CliResult unchanged = Caspo({"update", "check"});
    EXPECT_EQ(unchanged.exit, 1);
    EXPECT_NE(unchanged.out.find("seed: status 304"), std::string::npos) << unchanged.out;

    Offer("tampered.exe", std::chrono::seconds(0));
    const CliResult tampered = Caspo({"update", "download", installer});
    EXPECT_EQ(tampered.exit, 1);
    EXPECT_NE(tampered.out.find("seed: status 200\n"), std::string::npos) << tampered.out;
    EXPECT_NE(tampered.out.find("installer: status 200, signature not accepted"),
              std::string::npos);
}

}  // namespace
}  // namespace hvx::test
