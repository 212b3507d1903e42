// The bytes of each management request as they arrive at the test server on 127.0.0.1, through
// the real transfer engine: method, target, field order, percent-encoded names and values, and
// the fields that are left out.
#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "clients/management/ostra_http.h"
#include "tests/support/log_capture.h"
#include "tests/support/net/test_server.h"
#include "tests/support/scoped_root_store.h"
#include "tests/support/wide.h"
#include "tests/unit/management/ostra_fixture.h"

namespace hvx::test {
namespace {

std::string Joined(const std::vector<std::string>& fields) {
    return std::accumulate(
        std::next(fields.begin()), fields.end(), fields.front(),
        [](std::string all, const std::string& field) { return std::move(all) + "&" + field; });
}

using Fields = std::vector<std::string>;

// The fields every registration of the scripted machine carries, up to "pl".
Fields RegistrationHead() {
    return {
        "agent%5Fguid=11111111%2D2222%2D3333%2D4444%2D555555555555",
        "affiliate%5Fguid=affiliate",
        "business%5Fguid=business",
        "itoken=install%20token",
        "hostname=agent%2Eexample",
        "os%5Barchitecture%5D=9",
        "os%5Bbuild%5D=7",
        "os%5Bmajor%5D=6",
        "os%5Bminor%5D=1",
        "os%5Bplatform%5Fid%5D=0",
        "os%5Bproduct%5Finfo%5Ftype%5D=0",
        "os%5Bproduct%5Ftype%5D=0",
        "os%5Bservice%5Fpack%5Fmajor%5D=0",
        "os%5Bservice%5Fpack%5Fminor%5D=0",
        "os%5Bsuite%5Fmask%5D=0",
        "os%5Bsm%5Fserver%5Fr2%5D=0",
        "pl=0",
    };
}
Fields AdapterFields() {
    return {
        "nics%5B0%5D%5Bfriendly%5Fname%5D=Ethernet%202",
        "nics%5B0%5D%5Bip%5D=192%2E0%2E2%2E10",
        "nics%5B0%5D%5Bmac%5D=00%3A1a%3A2b%3A3c%3A4d%3A5e",
    };
}
Fields SidFields() {
    return {
        "csid=S%2D1%2D5%2D21%2D1%2D2%2D3",
        "csidhex=0x010400000000000515000000010000000200000003000000",
    };
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class ManagementWire : public SingletonStoreTest, public ScriptedMachine {
public:
    void SetUp() override {
        SingletonStoreTest::SetUp();
        PutAgentConfiguration(store(), Wide(server.Url("/api/")), Wide(server.Url("/event")));
        store().PutWide(keys::kInstallToken, u"install token");
        server.SetDefaultResponse({.body = "ok"});
        ASSERT_EQ(client.Init({}, 1), S_OK);
    }
    RecordedRequest Last() const { return server.Requests().back(); }

    TestServer server;
    ScopedRootStore roots{{TestCertificates::Shared().Ca().certificatePem}};
    LogCapture log;
    COstraHttp client{Environment()};
};

TEST_F(ManagementWire, Registration) {
    const std::uint32_t coins[] = {3, 5, 0, 9};
    ASSERT_EQ(client.Register(coins, 4), S_OK);
    EXPECT_EQ(Last().method, "POST");
    EXPECT_EQ(Last().target, "/api/register");
    EXPECT_EQ(Last().Header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(Last().body,
              Joined(RegistrationHead() + Fields{"rrr=%2Fhnm%2Fnic%5Fc", "nic%5Fcount=1"} +
                     AdapterFields() + SidFields() +
                     Fields{"coin%5B%5D=3", "coin%5B%5D=5", "supt=4242"}));

    // Due only because it is not registered: no reason, no coins, no up-time.
    client.ResetRegister();
    hasUpTime = false;
    ASSERT_EQ(client.Register(nullptr, 0), S_OK);
    EXPECT_EQ(Last().body,
              Joined(RegistrationHead() + Fields{"nic%5Fcount=1"} + AdapterFields() + SidFields()));
}

TEST_F(ManagementWire, IdentitySynchronisation) {
    store().PutWide(keys::kPolicyUuid, u"policy-1");
    store().PutDword(keys::kAgentGuidSyncType, 2);
    server.SetDefaultResponse({.body = "11111111-2222-3333-4444-555555555555"});
    std::u16string buffer(40, u'x');
    std::uint32_t length = 40;
    ASSERT_EQ(client.SyncAgentGuid(&length, buffer.data()), S_OK);
    EXPECT_EQ(Last().target, "/api/sync_agent_guid");
    EXPECT_EQ(Last().body,
              Joined(Fields{"bg=business", "ag=11111111%2D2222%2D3333%2D4444%2D555555555555",
                            "pg=policy%2D1", "hostname=agent%2Eexample"} +
                     SidFields() + Fields{"agst=2"} + AdapterFields()));
}

TEST_F(ManagementWire, Events) {
    ASSERT_EQ(client.SendEvent(18446744073709551615ULL, 1234, 7, u"scan: 0 found"), S_OK);
    EXPECT_EQ(Last().target, "/event");
    const std::string tail =
        "id=18446744073709551615&tid=7&ts=1234&data=scan%3A%200%20found&tsn=133500000000000000";
    EXPECT_EQ(Last().body,
              "fg=affiliate&ag=11111111%2D2222%2D3333%2D4444%2D555555555555&"
              "bg=business&" +
                  tail);

    // Without an agent GUID the field is left out.
    store().Erase(keys::kAgentUuid);
    COstraHttp anonymous(Environment());
    ASSERT_EQ(anonymous.Init({}, 1), S_OK);
    now += 1;
    ASSERT_EQ(anonymous.SendEvent(18446744073709551615ULL, 1234, 7, u"scan: 0 found"), S_OK);
    EXPECT_EQ(Last().body, "fg=affiliate&bg=business&" + tail.substr(0, tail.size() - 1) + "1");
}

}  // namespace
}  // namespace hvx::test
