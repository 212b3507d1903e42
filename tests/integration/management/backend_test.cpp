// The reference backend's management routes against the client: a rule set by the operator reaches
// the client, the policy folder is served, and what arrived is recorded (as JSON lines in the
// record file and at /mgmt/record).
#include <gtest/gtest.h>
#include <json/json.h>

#include <filesystem>
#include <fstream>
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

constexpr const char* kNewGuid = "0F0E0D0C-0B0A-4998-8776-655443322110";

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
    // The body of a request to one of the operator's routes.
    std::string Operator(const char16_t* method, const std::string& target) const {
        CHttpCurl session;
        EXPECT_EQ(
            session.Init(method, Wide(server->Listeners().at(0).url + target), {}, nullptr, 0),
            S_OK);
        std::uint32_t status = 0;
        std::string body;
        EXPECT_EQ(session.MakeRequestToString(status, body), S_OK) << body;
        return body;
    }

    TempDir dir;
    std::unique_ptr<backend::Backend> server;
    ScopedRootStore roots{{TestCertificates::Shared().Ca().certificatePem}};
    LogCapture log;
    COstraHttp client{Environment()};
};

// The client's answers to each kind of reply are its own unit tests' matter; here the rules an
// operator sets reach the client, and the record shows what arrived.
TEST_F(ManagementBackend, RulesPoliciesAndTheRecordOfWhatArrived) {
    ASSERT_EQ(client.SendEvent(7, 8, 9, u"a&b"), HVX_E_EVENT_NOT_ACCEPTABLE);
    const auto lines = tools::ReadWholeFile(dir / "record.jsonl");
    ASSERT_TRUE(lines);
    Json::Value entry;
    ASSERT_TRUE(Json::Reader().parse(*lines, entry));
    EXPECT_EQ(entry["route"], "event");
    EXPECT_EQ(entry["status"], 406);
    EXPECT_EQ(entry["fields"][6][0], "data");
    EXPECT_EQ(entry["fields"][6][1], "a&b");
    Json::Value record;
    ASSERT_TRUE(Json::Reader().parse(Operator(u"GET", "/mgmt/record?route=event"), record));
    ASSERT_EQ(record["requests"].size(), 1U);
    EXPECT_EQ(record["requests"][0], entry);

    host = u"renamed.example";
    Operator(u"POST", "/mgmt/rules?route=sync_agent_guid&answer=guid:" + std::string(kNewGuid));
    std::u16string buffer(40, u'\0');
    std::uint32_t length = 40;
    EXPECT_EQ(client.SyncAgentGuid(&length, buffer.data()), S_OK);
    EXPECT_EQ(buffer.substr(0, buffer.find(u'\0')), Wide(kNewGuid));

    Json::Value rules;
    ASSERT_TRUE(Json::Reader().parse(
        Operator(u"POST", "/mgmt/rules?route=register&answer=status:503%2Bslow:50"), rules));
    EXPECT_EQ(rules["register"], "status:503+slow:50");
    EXPECT_EQ(client.Register(nullptr, 0), HVX_E_HTTP_ERROR_STATUS);

    const TempDir files;
    EXPECT_EQ(client.FetchPolicy(0x20000007u, (files / "p.xml").u16string().c_str(), nullptr),
              S_OK);
    EXPECT_EQ(tools::ReadWholeFile(files / "p.xml"), "<policy/>");
    EXPECT_EQ(client.FetchPolicy(0x20000008u, (files / "p.xml").u16string().c_str(), nullptr),
              HVX_E_HTTP_ERROR_STATUS);
}

}  // namespace
}  // namespace hvx::test
