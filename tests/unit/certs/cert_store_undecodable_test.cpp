// ROOT entries that OpenSSL cannot decode: skipped, each with its log lines. Only a POSIX store
// (the CA bundle) can hold one; crypt32 leaves such bytes out of a Windows store.
#include "shared_agent/util/cert_store_log.h"
#include "tests/support/log_capture.h"
#include "tests/unit/certs/cert_fixture.h"

namespace hvx::test {
namespace {

using CertMgr = CertTest;

TEST_F(CertMgr, RootEntriesThatDoNotDecodeAreSkipped) {
    const ScopedRootStore roots({Certs().Ca().certificatePem}, {{0x30, 0x03, 0x01, 0x02, 0x03}});
    EXPECT_EQ(CertMgrLoader::Init(&config), S_OK);
    EXPECT_TRUE(log.HasError("cert_store_load(): CertGetName failed."));
    EXPECT_TRUE(log.HasError("cert_store_load(): Failed to convert certificate to X509 format"));
    EXPECT_EQ(cert_store_counts().roots, 1u);
}

}  // namespace
}  // namespace hvx::test
