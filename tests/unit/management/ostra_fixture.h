// The management client's unit tests: the process-wide store is an in-memory one (loaded as
// "tolva.dll"), the transfer engine is the scripted one (as "mirel.dll"), and the machine's
// facts come from the fixture's fields, which a test changes between calls.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "clients/management/ostra_http.h"
#include "support/config_keys.h"
#include "tests/support/fake_engine.h"
#include "tests/support/log_capture.h"
#include "tests/support/net/test_certs.h"
#include "tests/support/scoped_root_store.h"
#include "tests/unit/support/singleton_store_fixture.h"

namespace hvx::test {

inline constexpr const char16_t* kAgentGuid = u"11111111-2222-3333-4444-555555555555";
// 100 ns units since 1601: some moment in 2024.
inline constexpr std::uint64_t kSomeMoment = 133500000000000000ULL;
inline constexpr std::uint64_t kTicksPerMillisecond = 10000;

inline NicRecord Adapter(std::uint32_t index, std::u16string ip, std::u16string mac) {
    return NicRecord{u"eth" + std::u16string(1, static_cast<char16_t>(u'0' + index)),
                     u"Ethernet " + std::u16string(1, static_cast<char16_t>(u'0' + index)),
                     std::move(ip),
                     u"",
                     std::move(mac),
                     index,
                     1};
}

// Members are public: the table-driven tests change them from lambdas.
class OstraTest : public SingletonStoreTest {
public:
    void SetUp() override {
        SingletonStoreTest::SetUp();
        store().PutNarrow(keys::kEstCaCert, TestCertificates::Shared().Ca().certificatePem);
        store().PutWide(keys::kMgmtEndpoint, u"https://mgmt.example/api/");
        store().PutWide(keys::kEventEndpoint, u"https://events.example/event");
        store().PutWide(keys::kAgentUuid, kAgentGuid);
        store().PutWide(keys::kAffiliateUuid, u"affiliate");
        store().PutWide(keys::kBusinessUuid, u"business");
        host = u"agent.example";
        adapters = {{2, Adapter(2, u"192.0.2.10", u"00:1a:2b:3c:4d:5e")}};
        adaptersResult = S_OK;
        now = kSomeMoment;
        guidStatus = 0;
        engines.script = EngineScript{};
        engines.script.body = "ok";
        engines.transfers.clear();
        m_client.reset();
        log.Clear();
    }

    // The machine as the fields below describe it.
    OstraEnvironment Scripted() {
        OstraEnvironment env;
        env.computerName = [this](COMPUTER_NAME_FORMAT, std::u16string& name) {
            name = host;
            return TRUE;
        };
        env.netBiosName = [](std::u16string& name) {
            name = u"AGENT";
            return TRUE;
        };
        env.networkInfo = [this](NicInventory& inventory) {
            inventory = adapters;
            return adaptersResult;
        };
        env.accountSid = [this](const std::u16string&, std::vector<std::uint8_t>& bytes) {
            bytes = sid;
            return DWORD{ERROR_SUCCESS};
        };
        env.osVersion = [this](OSVERSIONINFOEXW& info) {
            info = version;
            return TRUE;
        };
        env.nativeArchitecture = [] { return os::kArchitectureAmd64; };
        env.productInfo = [](const OSVERSIONINFOEXW&, DWORD& type) {
            type = 0;
            return os::ProductInfoLookup::FunctionMissing;
        };
        env.serverR2 = [] { return false; };
        env.upTime = [](std::uint64_t& upTime) {
            upTime = 4242;
            return true;
        };
        env.systemTime = [this] { return now; };
        env.newGuid = [this](os::Guid& guid) {
            guid = freshGuid;
            return guidStatus;
        };
        return env;
    }

    // A client on the scripted machine, initialised (tolerant).
    COstraHttp& Client() {
        if (!m_client) {
            m_client = std::make_unique<COstraHttp>(Scripted());
            EXPECT_EQ(m_client->Init({}, 1), S_OK);
            log.Clear();
        }
        return *m_client;
    }
    std::size_t Sent() const { return engines.transfers.size(); }

    // The machine; SetUp puts these back.
    std::u16string host;
    NicInventory adapters;
    HRESULT adaptersResult = S_OK;
    // S-1-5-21-1-2-3: 24 bytes.
    std::vector<std::uint8_t> sid = {1, 4, 0, 0, 0, 0, 0, 5, 21, 0, 0, 0,
                                     1, 0, 0, 0, 2, 0, 0, 0, 3,  0, 0, 0};
    OSVERSIONINFOEXW version{sizeof(OSVERSIONINFOEXW), 6, 1, 7, 0, {}, 0, 0, 0, 0, 0};
    std::uint64_t now = 0;
    os::Guid freshGuid = {0xAB, 0xCD, 0xEF, 0x01, 0x23, 0x45, 0x47, 0x89,
                          0x8A, 0xBC, 0xDE, 0xF0, 0x12, 0x34, 0x56, 0x78};
    long guidStatus = 0;

    ScopedRootStore roots{{TestCertificates::Shared().Ca().certificatePem}};
    FakeEngineModule engines;
    LogCapture log;

private:
    std::unique_ptr<COstraHttp> m_client;
};

}  // namespace hvx::test
