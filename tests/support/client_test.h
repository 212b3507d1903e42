// The base of the clients' unit tests. The clients reach the store through the process-wide
// singleton, so an in-memory store is registered as "tolva.dll" once per program; each test
// starts from it emptied, with the test CA configured and in the ROOT store, the scripted engine
// registered as "mirel.dll", and a log capture.
// Programs that use it link caspo_test_session_support and caspo_test_net.
#pragma once

#include <gtest/gtest.h>

#include "platform/module.h"
#include "support/config_keys.h"
#include "support/config_singleton.h"
#include "tests/support/fake_config.h"
#include "tests/support/fake_engine.h"
#include "tests/support/log_capture.h"
#include "tests/support/net/test_certs.h"
#include "tests/support/scoped_root_store.h"

namespace hvx::test {

class ClientTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        os::RegisterBuiltinModule(
            u"tolva.dll", {{"CreateConfigClassInstance", reinterpret_cast<void*>(&CreateStore)}});
        ASSERT_NE(CConfigSingleton::GetInstance(), nullptr);
    }
    ClientTest() {
        store().Clear();
        store().failSet = store().failAdd = store().failSave = store().failLoad = false;
        store().PutNarrow(keys::kEstCaCert, TestCertificates::Shared().Ca().certificatePem);
        engines.script.body = "ok";
    }
    void TearDown() override { EXPECT_EQ(store().outstanding, 0) << "text not handed back"; }

    static FakeConfig& store() { return *s_store; }
    FakeEngine& Engine() const { return *engines.last; }
    // The last transfer of any engine (clients release theirs before they return); an empty one
    // when there was none.
    Transfer LastTransfer() const {
        return engines.transfers.empty() ? Transfer{} : engines.transfers.back();
    }

    ScopedRootStore roots{{TestCertificates::Shared().Ca().certificatePem}};
    FakeEngineModule engines;
    LogCapture log;

private:
    static IConfig* CreateStore() {
        s_store = new FakeConfig();
        return s_store;
    }

    static inline FakeConfig* s_store = nullptr;
};

}  // namespace hvx::test
