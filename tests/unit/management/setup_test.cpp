// Init with each value missing and the tolerant flag off and on; the small operations; the
// results of calls before Init and with null arguments.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/unit/management/ostra_fixture.h"

namespace hvx::test {
namespace {

constexpr const char* kCheckNear =
    "Failed to configure endpoints for Ostra, check near: config/ostra/endpoint/mgmt.";
constexpr const char* kConfigured =
    "Successfully configured endpoints: https://mgmt.example/api/ https://events.example/event ";

class Setup : public OstraTest {};

TEST_F(Setup, InitReadsUntilAValueIsMissing) {
    const struct {
        std::vector<const char*> missing;
        std::uint8_t tolerant;
        HRESULT result;
        std::vector<std::string> errors;
    } cases[] = {
        {{}, 0, S_OK, {}},
        {{keys::kMgmtEndpoint},
         1,
         HVX_E_CONFIG_UNAVAILABLE,
         {"Failed to get management endpoint.", kCheckNear}},
        {{keys::kEventEndpoint},
         1,
         HVX_E_CONFIG_UNAVAILABLE,
         {"Failed to get event endpoint.", kCheckNear}},
        {{keys::kAgentUuid},
         0,
         HVX_E_CONFIG_UNAVAILABLE,
         {"Failed to get agent guid for ostra configuration.", kCheckNear}},
        {{keys::kAgentUuid}, 1, S_OK, {"Failed to get agent guid for ostra configuration."}},
        {{keys::kAffiliateUuid},
         0,
         HVX_E_CONFIG_UNAVAILABLE,
         {"Failed to get affiliate guid for ostra configuration.", kCheckNear}},
        {{keys::kAffiliateUuid},
         1,
         S_OK,
         {"Failed to get affiliate guid for ostra configuration."}},
        {{keys::kBusinessUuid},
         1,
         HVX_E_CONFIG_UNAVAILABLE,
         {"Failed to get business guid for ostra configuration.", kCheckNear}},
        {{keys::kAgentUuid, keys::kAffiliateUuid},
         1,
         S_OK,
         {"Failed to get agent guid for ostra configuration.",
          "Failed to get affiliate guid for ostra configuration."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.missing.empty() ? "nothing missing" : c.missing.back());
        SetUp();
        for (const char* key : c.missing) {
            store().Erase(key);
        }
        COstraHttp client(Scripted());
        EXPECT_EQ(client.Init({}, c.tolerant), c.result);
        EXPECT_TRUE(client.Initialised());
        EXPECT_EQ(log.Errors(), c.errors);
        EXPECT_EQ(log.HasTrace(kConfigured), c.result == S_OK);
    }
}

TEST_F(Setup, CallsBeforeInitAndNullArguments) {
    COstraHttp client(Scripted());
    std::uint32_t length = 40;
    std::u16string buffer(40, u'x');
    EXPECT_EQ(client.SyncAgentGuid(&length, buffer.data()), HVX_E_GENERAL);
    EXPECT_EQ(client.SendEvent(1, 2, 3, u"data"), HVX_E_GENERAL);
    EXPECT_EQ(client.SyncAgentGuid(nullptr, buffer.data()), S_FALSE);
    EXPECT_EQ(client.SyncAgentGuid(&length, nullptr), S_FALSE);
    EXPECT_EQ(client.SendEvent(1, 2, 3, nullptr), S_FALSE);
    EXPECT_EQ(client.FetchPolicy(0x10000001u, nullptr, nullptr), S_FALSE);
    EXPECT_EQ(client.Register(nullptr, 2), S_FALSE);
    EXPECT_EQ(buffer, std::u16string(40, u'x'));
    EXPECT_EQ(Sent(), 0U);
}

TEST_F(Setup, ResetRegisterMakesTheNextRegisterSend) {
    COstraHttp& client = Client();
    ASSERT_EQ(client.Register(nullptr, 0), S_OK);
    ASSERT_EQ(client.Register(nullptr, 0), S_OK);
    ASSERT_EQ(Sent(), 1U);
    client.ResetRegister();
    EXPECT_TRUE(log.HasTrace(" reset ostra register: old: 1, new: 0"));
    ASSERT_EQ(client.Register(nullptr, 0), S_OK);
    EXPECT_EQ(Sent(), 2U);
}

TEST_F(Setup, EndpointFactsAndTheirFailures) {
    COstraHttp& client = Client();
    store().PutWide(keys::kHardwareId, u"hw-1");
    ASSERT_EQ(client.FindCommonEndpointInfo(), S_OK);
    EXPECT_EQ(client.HostName(), u"agent.example");
    EXPECT_EQ(client.MachineSid(), u"S-1-5-21-1-2-3");
    EXPECT_EQ(client.MachineSidHex(), u"0x010400000000000515000000010000000200000003000000");
    EXPECT_EQ(client.HardwareId(), u"hw-1");
    EXPECT_TRUE(log.HasTrace("received S-1-5-21-1-2-3 for machine sid."));

    // Every step fails; each logs, the members keep what they held.
    host.clear();
    adaptersResult = HVX_E_GENERAL;
    sid = {9, 9};
    store().Erase(keys::kHardwareId);
    store().Erase(keys::kCachedHostName);
    log.Clear();
    ASSERT_EQ(client.FindCommonEndpointInfo(), S_OK);
    EXPECT_EQ(client.MachineSid(), u"S-1-5-21-1-2-3");
    EXPECT_EQ(client.HardwareId(), u"hw-1");
    for (const char* text :
         {"Failed to COstraHttp::GetFQDomainName (0xc1040003) unlikely to succeed but trying",
          "Failed to get network info (0xc1040003) carrying on", "Failed to ConvertSidToStringSid.",
          "hvx::COstraHttp::FindCommonEndpointInfo: Failed to get Hardware ID: (0xc1030003)"}) {
        EXPECT_TRUE(log.HasError(text)) << text;
    }
}

}  // namespace
}  // namespace hvx::test
