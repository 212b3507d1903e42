// The trusted certificates are process-wide: every test starts and ends with them unloaded, and
// decides what the ROOT store holds.
#pragma once

#include <gtest/gtest.h>
#include <openssl/ssl.h>

#include "shared_agent/util/cert_mgr_loader.h"
#include "shared_agent/util/cert_store.h"
#include "support/config_keys.h"
#include "tests/support/fake_config.h"
#include "tests/support/log_capture.h"
#include "tests/support/net/openssl_ptr.h"
#include "tests/support/net/test_certs.h"
#include "tests/support/scoped_root_store.h"

namespace hvx::test {

inline const TestCertificates& Certs() {
    return TestCertificates::Shared();
}

// How many certificates a TLS context's trust store holds.
inline int TrustedCount(SSL_CTX* context) {
    return sk_X509_OBJECT_num(X509_STORE_get0_objects(SSL_CTX_get_cert_store(context)));
}

// A fresh TLS context after the TLS-context callback has run on it.
inline SslContextPtr ContextAfterCallback() {
    SslContextPtr context(SSL_CTX_new(TLS_client_method()));
    EXPECT_EQ(CertMgrLoader::SSLContextConfigCallback(nullptr, context.get(), nullptr), 0);
    return context;
}

class CertTest : public ::testing::Test {
protected:
    void SetUp() override { CertMgrLoader::UnloadCerts(); }
    void TearDown() override { CertMgrLoader::UnloadCerts(); }

    FakeConfig config;
    LogCapture log;
};

}  // namespace hvx::test
