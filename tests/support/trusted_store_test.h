// The base of the tests that run sessions: an in-memory store with the test CA configured, a ROOT
// store holding the test CA (so the first session loads the trusted certificates quietly), and a
// log capture. Programs that use it link caspo_test_session_support and caspo_test_net.
#pragma once

#include <gtest/gtest.h>

#include "support/config_keys.h"
#include "tests/support/fake_config.h"
#include "tests/support/log_capture.h"
#include "tests/support/net/test_certs.h"
#include "tests/support/scoped_root_store.h"
#include "tests/support/wide.h"

namespace hvx::test {

class TrustedStoreTest : public ::testing::Test {
protected:
    TrustedStoreTest() {
        config.PutNarrow(keys::kEstCaCert, TestCertificates::Shared().Ca().certificatePem);
    }

    FakeConfig config;
    ScopedRootStore roots{{TestCertificates::Shared().Ca().certificatePem}};
    LogCapture log;
};

}  // namespace hvx::test
