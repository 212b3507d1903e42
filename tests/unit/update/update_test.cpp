// hvx::CUpdateHttp against the scripted engine and the real pelum: the conditional seed fetch,
// the offer read from the seed, the version comparisons, the available-update record and the
// installer's signature.
#include "clients/update/update_http.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/bstr.h"
#include "tests/support/client_test.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wide.h"
#include "tests/unit/update/test_signers.h"

namespace hvx::test {
namespace {

constexpr const char* kLastModified = "Thu, 04 Mar 2021 05:06:07 GMT";

std::string Seed(const std::string& version, const std::string& extra = "") {
    return "<?xml version=\"1.0\"?><update><location>https://updates.example/i.bin</location>"
           "<hash>ab12</hash><version>" +
           version + "</version><type>2</type>" + extra + "</update>";
}

class UpdateTest : public ClientTest {
protected:
    UpdateTest() {
        store().PutWide(keys::kUpdaterProtocol, u"https");
        store().PutWide(keys::kUpdaterServer, u"updates.example");
        store().PutWide(keys::kUpdaterPath, u"/seed.xml");
        store().PutWide(keys::kAgentUuid, u"AbC12345-0000");
        store().PutWide(keys::kAgentVersion, u"6.5.0");
        engines.script.body = Seed("6.5.1");
        engines.script.headerLines = {std::string("Last-Modified: ") + kLastModified + "\r\n"};
    }
    // Init and ParseSeed of a client; ParseSeed's result, the offered version in `offered`.
    std::int32_t Parse(const std::string& seed) {
        engines.script.body = seed;
        EXPECT_EQ(client.Init(), S_OK);
        BSTR version = nullptr;
        const std::int32_t parsed = client.ParseSeed(&version);
        offered = version != nullptr ? std::optional<std::u16string>(version) : std::nullopt;
        os::SysFreeString(version);
        return parsed;
    }
    std::vector<std::u16string> Headers() const { return engines.releasedHeaders; }

    CUpdateHttp client;
    std::optional<std::u16string> offered;
    TempDir folder;
};

TEST_F(UpdateTest, TheSeedIsFetchedWithTheStoredLastModified) {
    EXPECT_EQ(client.Init(), S_OK);
    EXPECT_EQ(LastTransfer().url, u"https://updates.example/seed.xml");
    EXPECT_EQ(LastTransfer().method, "GET");
    EXPECT_TRUE(Headers().empty());
    EXPECT_EQ(client.LastMod(), Wide(kLastModified));
    EXPECT_EQ(client.Seed(), Seed("6.5.1"));
    EXPECT_EQ(client.AgentGuid(), u"AbC12345-0000");

    // Even an empty stored value is sent.
    store().PutWide(keys::kUpdaterLastModified, u"");
    EXPECT_EQ(client.Init(), S_OK);
    EXPECT_EQ(Headers(), std::vector<std::u16string>{u"If-Modified-Since: "});

    store().PutWide(keys::kUpdaterLastModified, u"Mon, 01 Feb 2021 00:00:00 GMT");
    engines.script.responseCode = 304;
    EXPECT_EQ(client.Init(), E_FAIL);
    EXPECT_EQ(client.GetResponseCode(), 304u);
    EXPECT_EQ(client.LastMod(), u"Mon, 01 Feb 2021 00:00:00 GMT");
}

TEST_F(UpdateTest, InitFailuresHaveTheirResults) {
    engines.script.headerLines.clear();
    EXPECT_EQ(client.Init(), S_OK);
    EXPECT_EQ(client.LastMod(), u"");
    EXPECT_EQ(log.Errors(),
              std::vector<std::string>{"hvx::CUpdateHttp::Initfailed to get lastmod -1054867448"});

    engines.script.transferResult = kCurlCouldntConnect;
    EXPECT_EQ(client.Init(), HVX_E_TRANSFER_FAILED);
    EXPECT_TRUE(log.HasTrace("hvx::CUpdateHttp::Initfailed to make request, error code: 200"));

    store().Erase(keys::kUpdaterServer);
    EXPECT_EQ(client.Init(), HVX_E_URL_INVALID);

    store().failLoad = true;
    log.Clear();
    const int transfers = engines.created;
    EXPECT_EQ(client.Init(), S_OK);
    EXPECT_EQ(log.Errors(), std::vector<std::string>{"failed to load config"});
    EXPECT_EQ(engines.created, transfers);
}

TEST_F(UpdateTest, TheOfferIsReadFromTheSeed) {
    EXPECT_EQ(client.ParseSeed(nullptr), 0) << "nothing fetched yet";
    EXPECT_TRUE(log.Errors().empty());

    EXPECT_EQ(Parse(Seed("6.5.1")), 1);
    EXPECT_EQ(offered, u"6.5.1");
    EXPECT_EQ(client.Location(), u"https://updates.example/i.bin");
    EXPECT_EQ(client.Hash(), u"ab12");
    EXPECT_EQ(client.GetUpdateType(), 2u);
    EXPECT_EQ(client.MaskMatched(), 1);

    struct Row {
        std::string seed;
        std::vector<std::string> errors;
    };
    const std::string noHash = "<update><location>l</location><version>1.0.0</version></update>";
    const std::string longVersion = Seed(std::string(20, '9'));
    const Row refused[] = {
        {"<update><location>l</update>",
         {"hvx::CUpdateHttp::ParseSeed: unable to parse seed file"}},
        {noHash,
         {"hvx::CUpdateHttp::ParseSeed: required tag not set in seed file",
          "hvx::CUpdateHttp::ParseSeed: response " + noHash}},
        {longVersion,
         {"hvx::CUpdateHttp::ParseSeed: tag too long in seed file",
          "hvx::CUpdateHttp::ParseSeed: response " + longVersion}},
    };
    for (const Row& row : refused) {
        log.Clear();
        EXPECT_EQ(Parse(row.seed), 0) << row.seed;
        EXPECT_EQ(offered, std::nullopt);
        EXPECT_EQ(log.Errors(), row.errors);
        EXPECT_EQ(client.Version(), u"6.5.1") << "the earlier offer stays";
    }
}

TEST_F(UpdateTest, MasksSelectAgentsByTheStartOfTheirIdentifier) {
    struct Row {
        std::string masks;
        std::int32_t matched;
    };
    const Row rows[] = {
        {"", 1},
        {"<mask>zz</mask><mask>abc1</mask>", 1},
        {"<mask>zz</mask>", 0},
        {"<mask>AbC12345-00000</mask>", 0},
        {"<mask></mask>", 1},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Parse(Seed("6.5.1", row.masks)), 1);
        EXPECT_EQ(client.MaskMatched(), row.matched) << row.masks;
        EXPECT_EQ(client.IsNewer(), row.matched) << row.masks;
    }
    store().Erase(keys::kAgentUuid);
    CUpdateHttp anonymous;
    ASSERT_EQ(anonymous.Init(), S_OK);
    EXPECT_EQ(anonymous.ParseSeed(nullptr), 1);
    EXPECT_EQ(anonymous.MaskMatched(), 1) << "an agent without identifier gets every offer";
}

TEST_F(UpdateTest, IsNewerComparesThreeFieldsAndDropsAStaleRecord) {
    struct Row {
        std::string offered;
        std::u16string installed;
        std::optional<std::u16string> available;
        std::int32_t newer;
        bool availableKept;
    };
    const Row rows[] = {
        {"6.5.1", u"6.5.0", std::nullopt, 1, false},
        {"6.5", u"6.5.0", std::nullopt, 0, false},
        {"6.5.0", u"6.5.0", std::nullopt, 0, false},
        {"6.10.0", u"6.9.9", std::nullopt, 1, false},
        {"7.0.0beta", u"6.99.99", std::nullopt, 1, false},
        {"-1.0.0", u"6.5.0", std::nullopt, 1, false},
        {"6.5.1", u"6.5.0", u"6.5.0", 1, false},
        {"6.5.1", u"6.5.0", u"6.5.1", 1, true},
    };
    for (const Row& row : rows) {
        store().PutWide(keys::kAgentVersion, row.installed);
        store().Erase(keys::kUpdaterAvailable);
        if (row.available) {
            store().PutWide(keys::kUpdaterAvailableVersion, *row.available);
            store().PutDword(keys::kUpdaterAvailableType, 2);
        }
        ASSERT_EQ(Parse(Seed(row.offered)), 1);
        EXPECT_EQ(client.IsNewer(), row.newer) << row.offered;
        EXPECT_EQ(store().Find(keys::kUpdaterAvailableType).has_value(), row.availableKept)
            << row.offered;
    }
    store().Erase(keys::kAgentVersion);
    log.Clear();
    EXPECT_EQ(client.IsNewer(), 0);
    EXPECT_EQ(log.Errors(), std::vector<std::string>{
                                "hvx::CUpdateHttp::IsNewer: could not get server, path or guid"});
}

TEST_F(UpdateTest, TheAvailableUpdateRecordIsWrittenAndReadBack) {
    ASSERT_EQ(Parse(Seed("6.5.1")), 1);
    EXPECT_EQ(client.SaveAvailableUpdate(), S_OK);
    EXPECT_EQ(store().Wide(keys::kUpdaterAvailableVersion), u"6.5.1");
    EXPECT_EQ(store().Dword(keys::kUpdaterAvailableType), 2u);
    EXPECT_EQ(store().Wide(keys::kUpdaterAvailableLocation), u"https://updates.example/i.bin");
    EXPECT_EQ(client.SaveInstallerState(), S_OK);
    EXPECT_EQ(store().Wide(keys::kUpdaterAvailableFile), u"");
    EXPECT_EQ(store().Wide(keys::kUpdaterLastModified), Wide(kLastModified));
    store().failSave = true;
    EXPECT_EQ(client.SaveInstallerState(), HVX_E_CONFIG_SAVE);
    store().failSave = false;

    store().PutWide(keys::kUpdaterAvailableFile, u"/var/tmp/i.bin");
    struct Row {
        std::optional<std::u16string> product;
        std::int32_t loaded;
    };
    const Row rows[] = {{u"6.5.0.11255", 1}, {u"6.5.1.0", 0}, {u"6.6", 0}, {std::nullopt, 0}};
    for (const Row& row : rows) {
        store().productVersion = row.product;
        CUpdateHttp later;
        BSTR version = nullptr;
        EXPECT_EQ(later.LoadAvailableInstaller(), row.loaded);
        EXPECT_EQ(later.LoadAvailableLocation(&version), row.loaded);
        EXPECT_EQ(later.InstallerPath(), row.loaded ? u"/var/tmp/i.bin" : u"");
        EXPECT_EQ(later.Location(), row.loaded ? u"https://updates.example/i.bin" : u"");
        EXPECT_EQ(version != nullptr ? std::u16string(version) : u"-",
                  row.loaded ? u"6.5.1" : u"-");
        os::SysFreeString(version);
    }

    EXPECT_EQ(client.ClearLastModified(), 1);
    EXPECT_EQ(client.ClearLastModified(), 0);
    EXPECT_FALSE(store().Find(keys::kUpdaterLastModified));
}

TEST_F(UpdateTest, TheInstallerIsKeptOnlyWithATrustedSignature) {
    const SignerStore trust(TestSigners::Shared().trusted.pem);
    ASSERT_EQ(Parse(Seed("6.5.1")), 1);
    const auto path = folder / "installer.exe";
    const std::string good = SignedBy(TestSigners::Shared().trusted, "MZ installer");
    struct Row {
        std::string body;
        std::optional<std::string> left;
        std::uint32_t status;
        HRESULT expected;
    };
    const Row rows[] = {
        {good, good, 200, S_OK},
        {"MZ unsigned", "MZ unsigned", 200, E_FAIL},
        {"", std::nullopt, 304, E_FAIL},
        {"", std::nullopt, 404, HVX_E_HTTP_ERROR_STATUS},
    };
    for (const Row& row : rows) {
        WriteFile(path, "old");
        engines.script.responseCode = row.status;
        engines.script.body = row.body;
        EXPECT_EQ(client.GetInstaller(path.u16string().c_str()), row.expected) << row.status;
        EXPECT_EQ(LastTransfer().url, u"https://updates.example/i.bin");
        EXPECT_EQ(ReadWholeFile(path), row.left) << row.status;
        EXPECT_EQ(client.GetResponseCode(), row.status);
        EXPECT_EQ(client.InstallerPath(), path.u16string()) << "kept from the first row";
    }
    EXPECT_EQ(client.GetInstaller(nullptr), E_INVALIDARG);
}

}  // namespace
}  // namespace hvx::test
