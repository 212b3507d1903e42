// The management client's unit tests: the process-wide store is an in-memory one (loaded as
// "tolva.dll"), the transfer engine is the scripted one (as "mirel.dll"), and the machine is a
// ScriptedMachine, put back before each test.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "clients/management/ostra_http.h"
#include "support/config_keys.h"
#include "tests/support/fake_engine.h"
#include "tests/support/log_capture.h"
#include "tests/support/net/test_certs.h"
#include "tests/support/scoped_root_store.h"
#include "tests/unit/management/scripted_machine.h"
#include "tests/unit/support/singleton_store_fixture.h"

namespace hvx::test {

inline constexpr const char16_t* kAgentGuid = u"11111111-2222-3333-4444-555555555555";

// The configuration every management test starts from.
inline void PutAgentConfiguration(FakeConfig& store, const std::u16string& management,
                                  const std::u16string& events) {
    store.PutNarrow(keys::kEstCaCert, TestCertificates::Shared().Ca().certificatePem);
    store.PutWide(keys::kMgmtEndpoint, management);
    store.PutWide(keys::kEventEndpoint, events);
    store.PutWide(keys::kAgentUuid, kAgentGuid);
    store.PutWide(keys::kAffiliateUuid, u"affiliate");
    store.PutWide(keys::kBusinessUuid, u"business");
}

// Members are public: the table-driven tests change them from lambdas.
class OstraTest : public SingletonStoreTest, public ScriptedMachine {
public:
    void SetUp() override {
        SingletonStoreTest::SetUp();
        PutAgentConfiguration(store(), u"https://mgmt.example/api/",
                              u"https://events.example/event");
        static_cast<ScriptedMachine&>(*this) = ScriptedMachine{};
        engines.script = EngineScript{};
        engines.script.body = "ok";
        engines.transfers.clear();
        m_client.reset();
        log.Clear();
    }

    OstraEnvironment Scripted() { return Environment(); }

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

    ScopedRootStore roots{{TestCertificates::Shared().Ca().certificatePem}};
    FakeEngineModule engines;
    LogCapture log;

private:
    std::unique_ptr<COstraHttp> m_client;
};

}  // namespace hvx::test
