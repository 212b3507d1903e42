// hvx::CUpdateHttp against the scripted engine and the real pelum: the seed fetch, the offer and
// its masks, the version comparisons, the available-update record and the installer's signature.
#include "clients/update/update_http.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/bstr.h"
#include "tests/support/client_test.h"
#include "tests/support/temp_dir.h"
#include "tests/unit/update/test_signers.h"

namespace hvx::test {
namespace {

using Texts = std::vector<std::string>;

std::string Seed(const std::string& version, const std::string& extra = "") {
    return "<update><location>https://u.example/i.bin</location><hash>ab12</hash><version>" +
           version + "</version><type>2</type>" + extra + "</update>";
}

class UpdateTest : public ClientTest {
protected:
    UpdateTest() {
        store().PutWide(keys::kUpdaterProtocol, u"https");
        store().PutWide(keys::kUpdaterServer, u"u.example");
        store().PutWide(keys::kUpdaterPath, u"/seed.xml");
        store().PutWide(keys::kAgentUuid, u"AbC12345-0000");
        store().PutWide(keys::kAgentVersion, u"6.5.0");
        engines.script.body = Seed("6.5.1");
        engines.script.headerLines = {"Last-Modified: Thu, 04 Mar 2021 05:06:07 GMT\r\n"};
    }
    // Init and ParseSeed; ParseSeed's result, the version it handed out in `offered`.
    std::int32_t Parse(const std::string& seed) {
        engines.script.body = seed;
        EXPECT_EQ(client.Init(), S_OK);
        BSTR version = nullptr;
        const std::int32_t parsed = client.ParseSeed(&version);
        offered = version != nullptr ? std::optional(os::BstrText(version)) : std::nullopt;
        os::SysFreeString(version);
        return parsed;
    }

    CUpdateHttp client;
    std::optional<std::u16string> offered;
};

TEST_F(UpdateTest, InitFetchesTheSeedWithTheStoredLastModified) {
    EXPECT_EQ(client.Init(), S_OK);
    EXPECT_EQ(LastTransfer().url, u"https://u.example/seed.xml");
    EXPECT_TRUE(engines.releasedHeaders.empty());
    EXPECT_EQ(client.LastMod(), u"Thu, 04 Mar 2021 05:06:07 GMT") << "without the line end";
    store().PutWide(keys::kUpdaterLastModified, u"");
    engines.script.headerLines.clear();
    EXPECT_EQ(client.Init(), S_OK);
    EXPECT_EQ(engines.releasedHeaders, std::vector<std::u16string>{u"If-Modified-Since: "});
    EXPECT_EQ(log.Errors(), Texts{"hvx::CUpdateHttp::Initfailed to get lastmod -1054867448"});

    engines.script.responseCode = 304;
    EXPECT_EQ(client.Init(), E_FAIL);
    engines.script.transferResult = kCurlCouldntConnect;
    EXPECT_EQ(client.Init(), HVX_E_TRANSFER_FAILED);
    EXPECT_TRUE(log.HasTrace("hvx::CUpdateHttp::Initfailed to make request, error code: 304"));
    store().Erase(keys::kUpdaterServer);
    EXPECT_EQ(client.Init(), HVX_E_URL_INVALID);
    store().failLoad = true;
    const int engines0 = engines.created;
    EXPECT_EQ(client.Init(), S_OK);
    EXPECT_TRUE(log.HasError("failed to load config"));
    EXPECT_EQ(engines.created, engines0);
}

TEST_F(UpdateTest, TheOfferAndItsMasksAreReadFromTheSeed) {
    EXPECT_EQ(client.ParseSeed(nullptr), 0) << "nothing fetched";
    EXPECT_TRUE(log.Errors().empty());
    const std::string noHash = "<update><location>l</location><version>1.0.0</version></update>";
    const std::string tooLong = Seed(std::string(20, '9'));
    struct Row {
        std::string seed;
        std::int32_t parsed;
        std::int32_t masked;
        Texts errors;
    };
    const Row rows[] = {
        {Seed("6.5.1"), 1, 1, {}},
        {Seed("6.5.1", "<mask>zz</mask><mask>abc1</mask>"), 1, 1, {}},
        {Seed("6.5.1", "<mask>zz</mask>"), 1, 0, {}},
        {Seed("6.5.1", "<mask>AbC12345-00000</mask>"), 1, 0, {}},
        {Seed("6.5.1", "<mask></mask>"), 1, 1, {}},
        {"<update><location>l</update>",
         0,
         1,
         {"hvx::CUpdateHttp::ParseSeed: unable to parse "
          "seed file"}},
        {noHash,
         0,
         1,
         {"hvx::CUpdateHttp::ParseSeed: required tag not set in seed file",
          "hvx::CUpdateHttp::ParseSeed: response " + noHash}},
        {tooLong,
         0,
         1,
         {"hvx::CUpdateHttp::ParseSeed: tag too long in seed file",
          "hvx::CUpdateHttp::ParseSeed: response " + tooLong}},
    };
    for (const Row& row : rows) {
        log.Clear();
        EXPECT_EQ(Parse(row.seed), row.parsed) << row.seed;
        EXPECT_EQ(offered, row.parsed ? std::optional<std::u16string>(u"6.5.1") : std::nullopt);
        EXPECT_EQ(client.MaskMatched(), row.masked) << row.seed;
        EXPECT_EQ(log.Errors(), row.errors);
    }
    EXPECT_EQ(client.Location(), u"https://u.example/i.bin") << "the last complete offer stays";
    EXPECT_EQ(client.Hash(), u"ab12");
    EXPECT_EQ(client.GetUpdateType(), 2u);
    const CUpdateHttp anonymous;  // no identifier: every offer applies
    EXPECT_EQ(anonymous.CheckMask(std::vector<const char16_t*>{u"zz", nullptr}.data()), 1);
}

TEST_F(UpdateTest, IsNewerComparesThreeFieldsAndDropsAStaleRecord) {
    struct Row {
        std::string offered;
        std::u16string installed;
        std::optional<std::u16string> available;
        std::int32_t newer;
        bool recordKept;
    };
    const Row rows[] = {
        {"6.5.1", u"6.5.0", std::nullopt, 1, false},
        {"6.5", u"6.5.0", std::nullopt, 0, false},
        {"6.5.0", u"6.5.0", std::nullopt, 0, false},
        {"6.10.0", u"6.9.9", std::nullopt, 1, false},
        {"7.0.0beta", u"6.99", std::nullopt, 1, false},
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
        EXPECT_EQ(store().Find(keys::kUpdaterAvailableType).has_value(), row.recordKept);
    }
    store().Erase(keys::kAgentVersion);
    EXPECT_EQ(client.IsNewer(), 0);
    EXPECT_TRUE(log.HasError("hvx::CUpdateHttp::IsNewer: could not get server, path or guid"));
}

TEST_F(UpdateTest, TheAvailableUpdateRecordIsWrittenAndReadBack) {
    ASSERT_EQ(Parse(Seed("6.5.1")), 1);
    EXPECT_EQ(client.SaveAvailableUpdate(), S_OK);
    EXPECT_EQ(client.SaveInstallerState(), S_OK);
    EXPECT_EQ(store().Wide(keys::kUpdaterAvailableVersion), u"6.5.1");
    EXPECT_EQ(store().Dword(keys::kUpdaterAvailableType), 2u);
    EXPECT_EQ(store().Wide(keys::kUpdaterAvailableLocation), u"https://u.example/i.bin");
    EXPECT_EQ(store().Wide(keys::kUpdaterLastModified), u"Thu, 04 Mar 2021 05:06:07 GMT");
    store().failSave = true;
    EXPECT_EQ(client.SaveInstallerState(), HVX_E_CONFIG_SAVE);
    store().failSave = false;

    store().PutWide(keys::kUpdaterAvailableFile, u"/var/tmp/i.bin");
    // 6.5.1 against four-field product versions: 6.5.1.0 > 6.5.0.11255.
    for (const auto& [product, loaded] : std::vector<std::pair<std::optional<std::u16string>, int>>{
             {u"6.5.0.11255", 1}, {u"6.5.1.0", 0}, {u"6.6", 0}, {std::nullopt, 0}}) {
        store().productVersion = product;
        CUpdateHttp later;
        BSTR version = nullptr;
        EXPECT_EQ(later.LoadAvailableInstaller(), loaded);
        EXPECT_EQ(later.LoadAvailableLocation(&version), loaded);
        EXPECT_EQ(later.InstallerPath() + later.Location() + os::BstrText(version),
                  loaded ? u"/var/tmp/i.binhttps://u.example/i.bin6.5.1" : u"");
        os::SysFreeString(version);
    }
    EXPECT_EQ(client.ClearLastModified(), 1);
    EXPECT_EQ(client.ClearLastModified(), 0);
}

TEST_F(UpdateTest, TheInstallerIsKeptOnlyWithATrustedSignature) {
    const SignerStore trust(TestSigners::Shared().trusted.pem);
    const std::string good = SignedBy(TestSigners::Shared().trusted, "MZ installer");
    ASSERT_EQ(Parse(Seed("6.5.1")), 1);
    const TempDir folder;
    const auto path = folder / "installer.exe";
    struct Row {
        std::string body;
        std::optional<std::string> left;
        std::uint32_t status;
        HRESULT expected;
    };
    const Row rows[] = {{good, good, 200, S_OK},
                        {"MZ unsigned", "MZ unsigned", 200, E_FAIL},
                        {"", std::nullopt, 304, E_FAIL},
                        {"", std::nullopt, 404, HVX_E_HTTP_ERROR_STATUS}};
    for (const Row& row : rows) {
        WriteFile(path, "old");
        engines.script.responseCode = row.status;
        engines.script.body = row.body;
        EXPECT_EQ(client.GetInstaller(path.u16string().c_str()), row.expected) << row.status;
        EXPECT_EQ(ReadWholeFile(path), row.left) << row.status;
        EXPECT_EQ(client.InstallerPath(), path.u16string()) << "kept from the first row";
    }
    EXPECT_EQ(LastTransfer().url, u"https://u.example/i.bin");
    EXPECT_EQ(client.GetInstaller(nullptr), E_INVALIDARG);
}

}  // namespace
}  // namespace hvx::test
