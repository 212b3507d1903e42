// SendEvent's results by answer; FetchPolicy's levels, templates, currency test and results.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/temp_dir.h"
#include "tests/unit/management/ostra_fixture.h"

namespace hvx::test {
namespace {

class Events : public OstraTest {};

TEST_F(Events, ResultByAnswer) {
    const struct {
        std::string body;
        std::uint32_t status;
        HRESULT result;
    } cases[] = {
        {"ok", 200, S_OK},
        {"queued", 202, HVX_E_GENERAL},
        {"\xc3\x28", 200, E_INVALIDARG},
        {R"({"detail":"duplicate event"})", 406, HVX_E_EVENT_NOT_ACCEPTABLE},
        {"", 406, HVX_E_EVENT_NOT_ACCEPTABLE},
        {"", 500, HVX_E_HTTP_ERROR_STATUS},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        engines.script.responseCode = c.status;
        engines.script.body = c.body;
        EXPECT_EQ(Client().SendEvent(7, 8, 9, u"data"), c.result);
    }
    engines.script.transferResult = kCurlCouldntConnect;
    EXPECT_EQ(Client().SendEvent(7, 8, 9, u"data"), HVX_E_TRANSFER_FAILED);
}

TEST_F(Events, EndpointIsReadAtEveryCall) {
    store().PutWide(keys::kEventEndpoint, u"https://other.example/ev");
    ASSERT_EQ(Client().SendEvent(1, 2, 3, u"d"), S_OK);
    EXPECT_EQ(engines.transfers.back().url, u"https://other.example/ev");
    store().Erase(keys::kEventEndpoint);
    ASSERT_EQ(Client().SendEvent(1, 2, 3, u"d"), S_OK);
    EXPECT_EQ(engines.transfers.back().url, u"https://other.example/ev");
    store().PutWide(keys::kEventEndpoint, u"not a url");
    EXPECT_EQ(Client().SendEvent(1, 2, 3, u"d"), HVX_E_URL_INVALID);
    // None configured at all: nothing is sent.
    store().Erase(keys::kEventEndpoint);
    COstraHttp unconfigured(Scripted());
    EXPECT_EQ(unconfigured.Init({}, 1), HVX_E_CONFIG_UNAVAILABLE);
    EXPECT_EQ(unconfigured.SendEvent(1, 2, 3, u"d"), HVX_E_URL_INVALID);
    EXPECT_EQ(engines.transfers.size(), 2U);
}

class Policy : public OstraTest {
public:
    void SetUp() override {
        OstraTest::SetUp();
        store().PutWide(keys::kPolicyAgent, u"https://policy.example/agent/[%set:agent/uuid%]");
        store().PutWide(keys::kPolicyPolicy, u"https://policy.example/p");
        store().PutWide(keys::kPolicyCompany, u"https://policy.example/c");
        store().PutWide(keys::kPolicyAffiliate, u"https://policy.example/a");
        engines.script.body = "<policy/>";
    }
    TempDir dir;
    std::filesystem::path file = dir.path() / "policy.xml";
};

TEST_F(Policy, TemplateExpansion) {
    store().PutWide("config/ui/x", u"a b/c");
    store().PutWide("config/ostra/business/uuid", u"biz");
    store().PutWide("config/ui/token", u"[%set:ui/x%]");
    const struct {
        std::u16string text;
        std::u16string expanded;
    } cases[] = {
        {u"https://h/p", u"https://h/p"},
        {u"/[%set:agent/uuid%]/", u"/11111111%2D2222%2D3333%2D4444%2D555555555555/"},
        {u"/[%set:ui/x%]", u"/a%20b%2Fc"},
        {u"/[%set:config/ostra/business/uuid%]", u"/biz"},
        {u"/[%set:ostra/business/uuid%]", u"/"},  // other keys are used as written
        {u"/[%set:ui/absent%]/", u"//"},
        {u"[%set:ui/x%]-[%set:config/ostra/business/uuid%]", u"a%20b%2Fc-biz"},
        {u"/[%set:ui/token%]", u"/%5B%25set%3Aui%2Fx%25%5D"},  // not expanded again
        {u"[%set:ui/x%][%set:ui/x%]", u"a%20b%2Fca%20b%2Fc"},
        {u"[%set:[%set:ui/x%]%]", u"%]"},  // the shortest name: "[%set:ui/x"
        {u"[%set:ui/x\n%] [%set:ui/x%]", u"[%set:ui/x\n%] a%20b%2Fc"},  // no line end inside
        {u"[%set:ui/x%", u"[%set:ui/x%"},
        {u"[%set:\xD800%]z", u"z"},  // a name that is not text names nothing
    };
    for (const auto& c : cases) {
        std::u16string expanded;
        EXPECT_EQ(COstraHttp::ExpandPolicyTemplate(c.text, expanded), S_OK);
        EXPECT_EQ(expanded, c.expanded);
    }
}

TEST_F(Policy, LevelsAndResults) {
    const struct {
        std::uint32_t serial;
        std::uint32_t answer;
        HRESULT result;
        std::uint32_t status;
        std::u16string url;  // empty: nothing was fetched
    } cases[] = {
        {0x20000007u, 200, S_OK, 0, u"https://policy.example/p-536870919"},
        {0xF0000001u, 200, S_OK, 0, u"https://policy.example/a-4026531841"},
        {0x40000002u, 200, S_OK, 0, u"https://policy.example/c-1073741826"},
        {0x10000003u, 200, S_OK, 0,
         u"https://policy.example/agent/11111111%2D2222%2D3333%2D4444%2D555555555555-268435459"},
        {0x00000007u, 200, HVX_E_POLICY_NO_LEVEL, 0, u""},
        {0x20000007u, 204, HVX_E_POLICY_STATUS, 204, u"https://policy.example/p-536870919"},
        {0x20000007u, 404, HVX_E_HTTP_ERROR_STATUS, 0, u"https://policy.example/p-536870919"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.serial);
        engines.transfers.clear();
        engines.script.responseCode = c.answer;
        std::uint32_t status = 99;
        EXPECT_EQ(Client().FetchPolicy(c.serial, file.u16string().c_str(), &status), c.result);
        EXPECT_EQ(status, c.status);
        ASSERT_EQ(engines.transfers.size(), c.url.empty() ? 0U : 1U);
        if (!c.url.empty()) {
            EXPECT_EQ(engines.transfers.back().method, "GET");
            EXPECT_EQ(engines.transfers.back().url, c.url);
        }
        EXPECT_EQ(std::filesystem::exists(file), c.result == S_OK || c.answer == 204);
        std::filesystem::remove(file);
    }
    EXPECT_TRUE(log.HasError(
        "Failed to fetch policy at: https://policy.example/p-536870919, response given: 204"));
}

TEST_F(Policy, DeployedSerialIsNotFetchedAgain) {
    store().PutDword(keys::kPolicyId, 0x20000007u);
    EXPECT_EQ(Client().FetchPolicy(0x20000007u, file.u16string().c_str(), nullptr),
              HVX_E_POLICY_CURRENT);
    EXPECT_TRUE(log.HasTrace("Policy deployed on agent is current, no need to update."));
    EXPECT_EQ(Client().FetchPolicy(0x20000008u, file.u16string().c_str(), nullptr), S_OK);
    // The same number at another level is another policy.
    EXPECT_EQ(Client().FetchPolicy(0x40000007u, file.u16string().c_str(), nullptr), S_OK);
    store().Erase(keys::kPolicyId);
    EXPECT_EQ(Client().FetchPolicy(0x20000007u, file.u16string().c_str(), nullptr), S_OK);
    EXPECT_TRUE(log.HasTrace("No current policy found, carrying on and refreshing policy."));
    EXPECT_EQ(engines.transfers.size(), 3U);
}

TEST_F(Policy, MissingTemplateAndLocalTestPolicy) {
    store().Erase(keys::kPolicyPolicy);
    EXPECT_EQ(Client().FetchPolicy(0x20000007u, file.u16string().c_str(), nullptr),
              HVX_E_CONFIG_UNAVAILABLE);
    EXPECT_TRUE(log.HasError(
        "Failed to find/create the policy fetch path (config/ostra/endpoint/policy/policy), "
        "template path () from config for serial: 0x20000007. Bailing."));
    store().PutDword(keys::kLocalTestPolicy, 1);
    engines.script.responseCode = 404;
    std::uint32_t status = 0;
    EXPECT_EQ(Client().FetchPolicy(0x10000003u, file.u16string().c_str(), &status), S_OK);
    EXPECT_TRUE(log.HasTrace("hvx::COstraHttp::FetchPolicy: Using Local Test Policy"));
    // Before the URL is formed the mode changes nothing.
    EXPECT_EQ(Client().FetchPolicy(0x7u, file.u16string().c_str(), &status), HVX_E_POLICY_NO_LEVEL);
}

}  // namespace
}  // namespace hvx::test
