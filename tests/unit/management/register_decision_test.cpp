// Whether Register sends, and the reason it gives: the host name, the adapters, the pro flag and
// the registered flag; the rate limiter on the replaceable clock.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/unit/management/ostra_fixture.h"

namespace hvx::test {
namespace {

constexpr std::uint64_t kSixHours = 21600000ULL * kTicksPerMillisecond;
constexpr const char* kHeldBack = "Rate-limiting re-register.";

class RegisterDecision : public OstraTest {
public:
    // Calls Register `calls` times, each after ResetRegister, so that each is due; the number of
    // requests they sent.
    std::size_t Attempts(int calls) {
        const std::size_t before = Sent();
        for (int call = 0; call < calls; ++call) {
            Client().ResetRegister();
            static_cast<void>(Client().Register(nullptr, 0));
        }
        return Sent() - before;
    }
    // A failed registration that the backend answered (500) is due again at every call.
    void BackendFails() {
        engines.script.responseCode = 500;
        engines.script.body.clear();
    }
};

TEST_F(RegisterDecision, ReasonsForRegisteringAgain) {
    const struct {
        const char* name;
        std::function<void(RegisterDecision&)> change;
        std::u16string reason;  // empty: nothing is sent
    } cases[] = {
        {"nothing", [](RegisterDecision&) {}, u""},
        {"host name", [](RegisterDecision& t) { t.host = u"renamed.example"; }, u"/hnm"},
        {"host name in letter case", [](RegisterDecision& t) { t.host = u"Agent.example"; },
         u"/hnm"},
        {"adapter count",
         [](RegisterDecision& t) {
             t.adapters[3] = Adapter(3, u"192.0.2.11", u"02:00:00:00:00:03");
         },
         u"/nic_c"},
        {"MAC address", [](RegisterDecision& t) { t.adapters[2].mac = u"00:1a:2b:3c:4d:5f"; },
         u"/nic_info"},
        {"IPv4 address", [](RegisterDecision& t) { t.adapters[2].ipv4 = u"192.0.2.99"; },
         u"/nic_info"},
        {"friendly name only", [](RegisterDecision& t) { t.adapters[2].friendly_name = u"x"; },
         u""},
        {"one adapter went, another came",
         [](RegisterDecision& t) {
             t.adapters = {{7, Adapter(7, u"192.0.2.77", u"02:00:00:00:00:07")}};
         },
         u""},
        {"pro flag", [](RegisterDecision& /*t*/) { store().PutDword(keys::kProEnabled, 1); },
         u"/vorta"},
        {"host name and count",
         [](RegisterDecision& t) {
             t.host = u"renamed.example";
             t.adapters.clear();
         },
         u"/hnm/nic_c"},
        {"host name and MAC",
         [](RegisterDecision& t) {
             t.host = u"renamed.example";
             t.adapters[2].mac = u"02:00:00:00:00:02";
         },
         u"/hnm/nic_info"},
        {"host name and pro flag",
         [](RegisterDecision& t) {
             t.host = u"renamed.example";
             store().PutDword(keys::kProEnabled, 1);
         },
         u"/hnm"},
        {"adapters unreadable", [](RegisterDecision& t) { t.adaptersResult = HVX_E_GENERAL; }, u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        COstraHttp client(Scripted());
        ASSERT_EQ(client.Init({}, 1), S_OK);
        // The first registration reports everything it sees for the first time.
        ASSERT_EQ(client.Register(nullptr, 0), S_OK);
        EXPECT_EQ(client.ReregistrationReason(), u"/hnm/nic_c");
        const std::size_t before = Sent();
        c.change(*this);
        ASSERT_EQ(client.Register(nullptr, 0), S_OK);
        EXPECT_EQ(Sent() - before, c.reason.empty() ? 0U : 1U);
        if (!c.reason.empty()) {
            EXPECT_EQ(client.ReregistrationReason(), c.reason);
        }
        // What was seen is the new reference: a third call sends nothing.
        adaptersResult = S_OK;
        ASSERT_EQ(client.Register(nullptr, 0), S_OK);
        EXPECT_EQ(Sent() - before, c.reason.empty() ? 0U : 1U);
    }
}

TEST_F(RegisterDecision, WindowAdmitsElevenThenHoldsBackUntilItRunsOut) {
    ASSERT_EQ(Attempts(1), 1U);  // the backend had not answered yet: not counted
    EXPECT_EQ(Attempts(11), 11U);
    EXPECT_FALSE(log.HasError(kHeldBack));
    now += kSixHours;  // still within the window
    EXPECT_EQ(Attempts(1), 0U);
    EXPECT_TRUE(log.HasTrace("Rate-limiting."));
    EXPECT_TRUE(log.HasError(kHeldBack));
    now += kTicksPerMillisecond;  // past it
    EXPECT_EQ(Attempts(1), 1U);
    EXPECT_TRUE(log.HasTrace("Resetting rate-limiting."));
    EXPECT_EQ(Attempts(20), 11U);
}

TEST_F(RegisterDecision, BackendErrorsAreLimitedToo) {
    BackendFails();
    EXPECT_EQ(Attempts(30), 12U);
    EXPECT_TRUE(Client().BackendAnswered());
    EXPECT_FALSE(Client().Registered());
}

TEST_F(RegisterDecision, UnreachableBackendIsNotLimited) {
    engines.script.transferResult = kCurlCouldntConnect;
    EXPECT_EQ(Attempts(30), 30U);
    EXPECT_FALSE(Client().BackendAnswered());
}

TEST_F(RegisterDecision, SettingsComeFromTheStore) {
    store().PutDword(keys::kRateLimit, 1);
    store().PutDword(keys::kRateInterval, 0);
    ASSERT_EQ(Attempts(1), 1U);
    EXPECT_EQ(Attempts(5), 2U);  // count 0 and 1 admit, then held while no time passes
    // An interval of 0 is read again at every call: the new limit counts at once.
    store().PutDword(keys::kRateLimit, 3);
    EXPECT_EQ(Attempts(3), 2U);
    now += kTicksPerMillisecond;
    EXPECT_EQ(Attempts(1), 1U);
    EXPECT_TRUE(log.HasTrace("Resetting rate-limiting."));
}

TEST_F(RegisterDecision, DisabledLimiterNeverHoldsBack) {
    store().PutDword(keys::kRateEnabled, 0);
    BackendFails();
    EXPECT_EQ(Attempts(30), 30U);
}

TEST_F(RegisterDecision, LocalTestPolicyHidesAFailedSend) {
    BackendFails();
    EXPECT_NE(Client().Register(nullptr, 0), S_OK);
    store().PutDword(keys::kLocalTestPolicy, 1);
    EXPECT_EQ(Client().Register(nullptr, 0), S_OK);
    EXPECT_TRUE(log.HasTrace("hvx::COstraHttp::Register: Using Local Test Policy"));
    EXPECT_FALSE(Client().Registered());
}

}  // namespace
}  // namespace hvx::test
