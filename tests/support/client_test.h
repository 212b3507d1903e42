// The base of the clients' unit tests. The clients reach the store through the process-wide
// singleton, so an in-memory store is registered as "tolva.dll" once per program; each test
// starts from it emptied, with the test CA configured and in the ROOT store, both TLS checks on,
// the scripted engine registered as "mirel.dll", and a log capture.
// Programs that use it link caspo_test_session_support and caspo_test_net.
#pragma once

#include <gtest/gtest.h>

#include "support/config_keys.h"
#include "tests/support/fake_engine.h"
#include "tests/support/log_capture.h"
#include "tests/support/net/test_certs.h"
#include "tests/support/scoped_root_store.h"
#include "tests/unit/support/singleton_store_fixture.h"

namespace hvx::test {

class ClientTest : public SingletonStoreTest {
protected:
    ClientTest() {
        ResetStore();
        store().PutNarrow(keys::kEstCaCert, TestCertificates::Shared().Ca().certificatePem);
        // Both TLS checks on, as shipped: a session with one off writes a warning record.
        store().PutDword(keys::kVerifyHost, 1);
        store().PutDword(keys::kVerifyPeer, 1);
        engines.script.body = "ok";
    }
    // The store was set up by the constructor; the base's SetUp would empty it again.
    void SetUp() override {}

    FakeEngine& Engine() const { return *engines.last; }
    // The last transfer of any engine (clients release theirs before they return); an empty one
    // when there was none.
    Transfer LastTransfer() const {
        return engines.transfers.empty() ? Transfer{} : engines.transfers.back();
    }

    ScopedRootStore roots{{TestCertificates::Shared().Ca().certificatePem}};
    FakeEngineModule engines;
    LogCapture log;
};

}  // namespace hvx::test
