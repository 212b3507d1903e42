// The reference backend's management routes against the client: each operator rule and what
// the client makes of it, the policy folder, and the record of what arrived (as JSON lines in
// the record file and at /mgmt/record).
#include <gtest/gtest.h>
#include <json/json.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "clients/management/ostra_http.h"
#include "tests/support/log_capture.h"
#include "tests/support/scoped_root_store.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wide.h"
#include "tests/unit/management/ostra_fixture.h"
#include "tools/backend/backend.h"

namespace hvx::test {
namespace {

class ManagementBackend : public SingletonStoreTest, public ScriptedMachine {
public:
    void SetUp() override {
        SingletonStoreTest::SetUp();
        std::filesystem::create_directories(dir / "policies");
        std::ofstream(dir / "policies" / "536870919") << "<policy/>";
        backend::BackendOptions options;
        options.policyDir = dir / "policies";
        options.recordFile = dir / "record.jsonl";
        options.managementRules = {"event=error:406:0xC1050005:duplicate"};
        server = std::make_unique<backend::Backend>(options);
        ASSERT_EQ(server->Start(), "");
        const std::u16string base = Wide(server->Listeners().at(0).url);
        PutAgentConfiguration(store(), base + u"/mgmt/", base + u"/event");
        store().PutWide(keys::kPolicyPolicy, base + u"/policy/p");
        ASSERT_EQ(client.Init({}, 1), S_OK);
    }
    // Sets a rule through the operator's route, as an operator would; the rules it then holds.
    Json::Value Rule(const std::string& route, const std::string& answer) const {
        CHttpCurl session;
        EXPECT_EQ(session.Init(u"POST",
                               Wide(server->Listeners().at(0).url + "/mgmt/rules?route=" + route +
                                    "&answer=" + answer),
                               {}, nullptr, 0),
                  S_OK);
        std::uint32_t status = 0;
        std::string body;
        EXPECT_EQ(session.MakeRequestToString(status, body), S_OK) << body;
        Json::Value rules;
        EXPECT_TRUE(Json::Reader().parse(body, rules)) << body;
        return rules;
    }
    HRESULT Sync(std::u16string& guid) {
        std::u16string buffer(40, u'\0');
        std::uint32_t length = 40;
        const HRESULT result = client.SyncAgentGuid(&length, buffer.data());
        guid = buffer.substr(0, buffer.find(u'\0'));
        return result;
    }

    TempDir dir;
    std::unique_ptr<backend::Backend> server;
    ScopedRootStore roots{{TestCertificates::Shared().Ca().certificatePem}};
    LogCapture log;
    COstraHttp client{Environment()};
};

TEST_F(ManagementBackend, RulesAndWhatTheClientMakesOfThem) {
    std::u16string guid;
    // The route's own answer confirms the agent's GUID.
    EXPECT_EQ(Sync(guid), S_OK);
    EXPECT_EQ(guid, u"");

    host = u"renamed.example";
    Rule("sync_agent_guid", "guid:0F0E0D0C-0B0A-4998-8776-655443322110");
    EXPECT_EQ(Sync(guid), S_OK);
    EXPECT_EQ(guid, u"0F0E0D0C-0B0A-4998-8776-655443322110");

    host = u"again.example";
    store().PutDword(keys::kAgentGuidSyncType, 3);
    Rule("sync_agent_guid", "space");
    EXPECT_EQ(Sync(guid), S_OK);
    EXPECT_EQ(guid, u"abcdef01-2345-4789-8abc-def012345678");

    EXPECT_EQ(client.SendEvent(1, 2, 3, u"d"), HVX_E_EVENT_NOT_ACCEPTABLE);
    Rule("event", "error:500:0xC1040003:overloaded");
    EXPECT_EQ(client.SendEvent(1, 2, 3, u"d"), HVX_E_GENERAL);

    EXPECT_EQ(Rule("register", "status:503%2Bslow:50")["register"], "status:503+slow:50");
    EXPECT_EQ(client.Register(nullptr, 0), HVX_E_HTTP_ERROR_STATUS);

    const TempDir files;
    EXPECT_EQ(client.FetchPolicy(0x20000007u, (files / "p.xml").u16string().c_str(), nullptr),
              S_OK);
    EXPECT_EQ(tools::ReadWholeFile(files / "p.xml"), "<policy/>");
    EXPECT_EQ(client.FetchPolicy(0x20000008u, (files / "p.xml").u16string().c_str(), nullptr),
              HVX_E_HTTP_ERROR_STATUS);
}

TEST_F(ManagementBackend, RecordOfWhatArrived) {
    ASSERT_EQ(client.SendEvent(7, 8, 9, u"a&b"), HVX_E_EVENT_NOT_ACCEPTABLE);
    const auto lines = tools::ReadWholeFile(dir / "record.jsonl");
    ASSERT_TRUE(lines);
    Json::Value entry;
    ASSERT_TRUE(Json::Reader().parse(*lines, entry));
    EXPECT_EQ(entry["route"], "event");
    EXPECT_EQ(entry["status"], 406);
    EXPECT_EQ(entry["fields"][6][0], "data");
    EXPECT_EQ(entry["fields"][6][1], "a&b");

    CHttpCurl session;
    ASSERT_EQ(session.Init(u"GET", Wide(server->Listeners().at(0).url + "/mgmt/record?route=event"),
                           {}, nullptr, 0),
              S_OK);
    std::uint32_t status = 0;
    std::string body;
    ASSERT_EQ(session.MakeRequestToString(status, body), S_OK);
    Json::Value record;
    ASSERT_TRUE(Json::Reader().parse(body, record));
    ASSERT_EQ(record["requests"].size(), 1U);
    EXPECT_EQ(record["requests"][0], entry);
}

}  // namespace
}  // namespace hvx::test
