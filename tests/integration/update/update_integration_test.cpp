// The update client through libcaspo's exports against a real nginx (Debian's) serving the seed
// and the installers: Last-Modified and If-Modified-Since as nginx handles them, and the
// installer's signature checked against the signer the store trusts.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "tests/integration/upload/agent_store.h"
#include "tests/support/nginx_process.h"
#include "tests/unit/update/test_signers.h"

namespace hvx::test {
namespace {

constexpr const char* kInstaller = "MZ the agent's next installer";

class UpdateIntegration : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_nginx = std::make_unique<NginxProcess>();
        const AgentStore& agent = AgentStore::Shared();
        const auto signer = agent.Folder() / "signer.pem";
        WriteFile(signer, TestSigners::Shared().trusted.pem);
        s_problem = agent.Problem();
        s_problem += agent.Set("config/updater/protocol", "http");
        s_problem +=
            agent.Set("config/updater/server", "127.0.0.1:" + std::to_string(s_nginx->Port()));
        s_problem += agent.Set("config/updater/path", "/seed.xml");
        s_problem += agent.Set("config/agent/version", "6.5.0");
        s_problem += agent.Config(
            {"set", "config/updater/signer/cert", "--file", signer.string(), "--type", "cert"});
        const std::string good = SignedBy(TestSigners::Shared().trusted, kInstaller);
        WriteFile(s_nginx->Root() / "good.exe", good);
        WriteFile(s_nginx->Root() / "tampered.exe", good.substr(0, 3) + "X" + good.substr(4));
    }
    static void TearDownTestSuite() { s_nginx.reset(); }
    void SetUp() override { ASSERT_EQ(s_problem, ""); }

    // A seed offering `installer`, written with a modification time `age` in the past.
    static void Offer(const std::string& installer, std::chrono::seconds age) {
        const auto seed = s_nginx->Root() / "seed.xml";
        WriteFile(seed, "<update><location>" + s_nginx->Url("/" + installer) +
                            "</location><hash>-</hash><version>6.6.0</version></update>");
        std::filesystem::last_write_time(seed, std::filesystem::file_time_type::clock::now() - age);
    }
    std::filesystem::path Target() const { return folder / "installer.exe"; }

    TempDir folder;
    static inline std::unique_ptr<NginxProcess> s_nginx;
    static inline std::string s_problem;
};

TEST_F(UpdateIntegration, TheSeedIsFetchedAgainOnlyWhenNginxSaysItChanged) {
    Offer("good.exe", std::chrono::seconds(60));
    const auto first = AgentStore::Shared().NewUpdate();
    first->ClearLastModified();
    ASSERT_EQ(first->Init(), S_OK) << s_nginx->Log();
    EXPECT_EQ(first->GetResponseCode(), 200u);
    ASSERT_EQ(first->ParseSeed(nullptr), 1);
    EXPECT_EQ(first->IsNewer(), 1);
    EXPECT_EQ(first->SaveAvailableUpdate(), S_OK);
    EXPECT_EQ(first->GetInstaller(Target().u16string().c_str()), S_OK);
    EXPECT_EQ(ReadWholeFile(Target()), ReadWholeFile(s_nginx->Root() / "good.exe"));
    EXPECT_EQ(first->SaveInstallerState(), S_OK);

    const auto unchanged = AgentStore::Shared().NewUpdate();
    EXPECT_EQ(unchanged->Init(), E_FAIL);
    EXPECT_EQ(unchanged->GetResponseCode(), 304u);

    Offer("good.exe", std::chrono::seconds(0));
    const auto changed = AgentStore::Shared().NewUpdate();
    EXPECT_EQ(changed->Init(), S_OK);
    EXPECT_EQ(changed->GetResponseCode(), 200u);
}

TEST_F(UpdateIntegration, OnlyAnInstallerWithATrustedSignatureIsAccepted) {
    struct Row {
        std::string installer;
        HRESULT expected;
        bool left;
    };
    const Row rows[] = {{"tampered.exe", E_FAIL, true},
                        {"missing.exe", HVX_E_HTTP_ERROR_STATUS, false}};
    for (const Row& row : rows) {
        Offer(row.installer, std::chrono::seconds(30));
        const auto client = AgentStore::Shared().NewUpdate();
        client->ClearLastModified();
        ASSERT_EQ(client->Init(), S_OK);
        ASSERT_EQ(client->ParseSeed(nullptr), 1);
        EXPECT_EQ(client->GetInstaller(Target().u16string().c_str()), row.expected)
            << row.installer;
        EXPECT_EQ(std::filesystem::exists(Target()), row.left) << row.installer;
        std::filesystem::remove(Target());
    }
}

}  // namespace
}  // namespace hvx::test
