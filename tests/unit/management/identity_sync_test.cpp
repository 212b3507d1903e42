// SyncAgentGuid through every row of its result table: what the backend answers, what the
// buffer and the length hold afterwards, and when the remembered facts are written.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/unit/management/ostra_fixture.h"

namespace hvx::test {
namespace {

constexpr const char16_t* kNewGuid = u"0F0E0D0C-0B0A-4998-8776-655443322110";
constexpr const char* kNewGuidText = "0F0E0D0C-0B0A-4998-8776-655443322110";
constexpr const char16_t* kFreshGuid = u"abcdef01-2345-4789-8abc-def012345678";
constexpr std::uint32_t kCapacity = 40;

class IdentitySync : public OstraTest {
public:
    void Answer(std::string body, std::uint32_t status = 200) {
        engines.script.body = std::move(body);
        engines.script.responseCode = status;
    }
    HRESULT Sync(std::u16string& buffer, std::uint32_t& length) {
        return Client().SyncAgentGuid(&length, buffer.data());
    }
    // The backend confirms the configured GUID: the facts of this machine are remembered.
    void Synchronised() {
        Answer("11111111-2222-3333-4444-555555555555");
        std::u16string buffer(kCapacity, u'x');
        std::uint32_t length = kCapacity;
        ASSERT_EQ(Sync(buffer, length), S_OK);
    }
};

TEST_F(IdentitySync, ResultTable) {
    const std::u16string untouched(kCapacity, u'x');
    const struct {
        const char* name;
        std::function<void(IdentitySync&)> arrange;
        HRESULT result;
        std::u16string buffer;  // up to its first zero
        std::uint32_t length;   // given, and expected unless the result is the confirmation
        bool remembers;
        const char* trace = nullptr;  // a line logged as a trace, or as an error
        const char* error = nullptr;
    } cases[] = {
        {"first call, configured GUID confirmed",
         [](IdentitySync& t) { t.Answer("11111111-2222-3333-4444-555555555555"); }, S_OK, u"",
         kCapacity, true},
        {"a new GUID handed back", [](IdentitySync& t) { t.Answer(kNewGuidText); }, S_OK, kNewGuid,
         kCapacity, true},
        {"a new GUID and a buffer of 37", [](IdentitySync& t) { t.Answer(kNewGuidText); }, S_OK,
         kNewGuid, 37, true},
        {"a new GUID and a buffer of 36", [](IdentitySync& t) { t.Answer(kNewGuidText); },
         E_INVALIDARG, untouched, 36, false},
        {"host name changed, type 3, a space",
         [](IdentitySync& t) {
             t.Synchronised();
             t.host = u"renamed.example";
             store().PutDword(keys::kAgentGuidSyncType, 3);
             t.Answer(" ");
         },
         S_OK, kFreshGuid, kCapacity, true,
         "Received empty guid from backend, while having changing hardware/hostname. Creating new "
         "guid/identity: abcdef01-2345-4789-8abc-def012345678"},
        {"host name changed, type 1, a space",
         [](IdentitySync& t) {
             t.Synchronised();
             t.host = u"renamed.example";
             store().PutDword(keys::kAgentGuidSyncType, 1);
             t.Answer(" ");
         },
         HVX_E_SYNC_NOT_GUID, untouched, kCapacity, false},
        {"layout changed, type 2, a space",
         [](IdentitySync& t) {
             t.Synchronised();
             t.adapters[2].mac = u"02:00:00:00:00:02";
             store().PutDword(keys::kAgentGuidSyncType, 2);
             t.Answer(" ");
         },
         S_OK, kFreshGuid, kCapacity, true},
        {"hardware id changed, type 4, a space",
         [](IdentitySync& t) {
             t.Synchronised();
             store().PutWide(keys::kHardwareId, u"hw-2");
             store().PutDword(keys::kAgentGuidSyncType, 4);
             t.Answer(" ");
         },
         HVX_E_SYNC_NOT_GUID, untouched, kCapacity, false},
        {"fresh GUID cannot be made",
         [](IdentitySync& t) {
             store().PutDword(keys::kAgentGuidSyncType, 3);
             t.guidStatus = 1739;
             t.Answer(" ");
         },
         E_FAIL, untouched, kCapacity, false, nullptr,
         "hvx::COstraHttp::SyncAgentGuid: failed to createa  new UUID"},
        {"an empty answer is no body", [](IdentitySync& t) { t.Answer(""); },
         HVX_E_NO_RESPONSE_BODY, untouched, kCapacity, false},
        {"not a GUID", [](IdentitySync& t) { t.Answer("{\"agent\": 1}"); }, HVX_E_SYNC_NOT_GUID,
         untouched, kCapacity, false},
        {"not UTF-8", [](IdentitySync& t) { t.Answer("\xff\xfe"); }, HVX_E_SYNC_NOT_GUID, untouched,
         kCapacity, false},
        {"no answer",
         [](IdentitySync& t) { t.engines.script.transferResult = kCurlCouldntConnect; },
         HVX_E_SYNC_NO_ANSWER, untouched, kCapacity, false},
        {"an error status", [](IdentitySync& t) { t.Answer("", 500); }, HVX_E_HTTP_ERROR_STATUS,
         untouched, kCapacity, false},
        {"no session: the endpoint is not a URL",
         [](IdentitySync& /*t*/) { store().PutWide(keys::kMgmtEndpoint, u"mgmt/"); },
         HVX_E_URL_INVALID, untouched, kCapacity, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        c.arrange(*this);
        const int saves = store().saveCount;
        std::u16string buffer(kCapacity, u'x');
        std::uint32_t length = c.length;
        EXPECT_EQ(Sync(buffer, length), c.result);
        EXPECT_EQ(buffer.substr(0, buffer.find(u'\0')), c.buffer);
        EXPECT_EQ(length, c.buffer.empty() ? 0U : c.length);
        EXPECT_EQ(store().saveCount > saves, c.remembers);
        EXPECT_TRUE(c.trace == nullptr || log.HasTrace(c.trace));
        EXPECT_TRUE(c.error == nullptr || log.HasError(c.error));
    }
}

TEST_F(IdentitySync, RemembersTheFactsItSentAndSendsNothingUntilOneChanges) {
    Synchronised();
    EXPECT_EQ(store().Wide(keys::kSyncHostName), u"agent.example");
    EXPECT_EQ(store().Wide(std::string(keys::kNicLayout) + "/n0/mac"), u"00:1a:2b:3c:4d:5e");
    EXPECT_FALSE(store().Find(keys::kSyncHardwareId));  // unknown: not written
    std::u16string buffer(kCapacity, u'x');
    std::uint32_t length = kCapacity;
    const std::size_t sent = Sent();
    Answer(kNewGuidText);
    EXPECT_EQ(Sync(buffer, length), S_OK);
    EXPECT_EQ(Sent(), sent);
    EXPECT_EQ(buffer, std::u16string(kCapacity, u'x'));

    // A shorter layout leaves no stale position behind.
    adapters[3] = Adapter(3, u"192.0.2.11", u"02:00:00:00:00:03");
    store().PutWide(keys::kHardwareId, u"hw-1");
    Synchronised();
    adapters.erase(3);
    Synchronised();
    EXPECT_FALSE(store().Find(std::string(keys::kNicLayout) + "/n1/active"));
    EXPECT_EQ(store().Wide(keys::kSyncHardwareId), u"hw-1");
}

}  // namespace
}  // namespace hvx::test
