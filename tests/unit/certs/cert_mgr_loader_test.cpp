// CertMgrLoader and the certificate-store layer: what is loaded from where, once, and what each
// TLS context receives.
#include <algorithm>

#include "shared_agent/util/cert_store_log.h"
#include "support/trace_levels.h"
#include "tests/support/fake_engine.h"
#include "tests/unit/certs/cert_fixture.h"

namespace hvx::test {
namespace {

constexpr const char* kLoaded = "CertMgrLoader::Init certs loaded from certificate manager";

using CertMgr = CertTest;

TEST_F(CertMgr, AConfiguredCertificateThatIsARootIsAddedOnce) {
    const ScopedRootStore roots(
        {Certs().Ca().certificatePem, Certs().UntrustedCa().certificatePem});
    config.PutCertificates(keys::kTrustedCerts,
                           Certs().Ca().certificatePem + Certs().OtherHost().certificatePem);
    EXPECT_EQ(CertMgrLoader::Init(&config), S_OK);
    EXPECT_TRUE(CertMgrLoader::IsLoaded());
    EXPECT_EQ(cert_store_counts().roots, 2u);
    EXPECT_EQ(cert_store_counts().configured, 1u);
    EXPECT_EQ(std::ranges::count_if(log.Traces(),
                                    [](const std::string& line) {
                                        return line.starts_with("_set_config_certs(): ");
                                    }),
              1);
    EXPECT_TRUE(log.HasTrace("_set_config_certs(): Certificate for /CN=other.invalid"));
    EXPECT_TRUE(log.HasTrace("The ROOT store has been opened."));
    EXPECT_TRUE(log.HasTrace("cert_store_load(): Certificate for caspo test CA"));
    EXPECT_TRUE(log.HasTrace("cert_store_load(): Certificate for caspo untrusted CA"));
    EXPECT_EQ(TrustedCount(ContextAfterCallback().get()), 3);
    EXPECT_EQ(config.outstanding, 0);
}

TEST_F(CertMgr, AnEmptyRootStoreInstallsNothing) {
    const ScopedRootStore roots(std::vector<std::string>{});
    config.PutCertificates(keys::kTrustedCerts, Certs().Ca().certificatePem);
    config.PutNarrow(keys::kEstCaCert, Certs().UntrustedCa().certificatePem);
    EXPECT_EQ(CertMgrLoader::Init(&config), S_OK);
    EXPECT_EQ(log.Errors(), (std::vector<std::string>{
                                "cert_store_load(): no certificates were found in ROOT store",
                                "CertMgrLoader::Init: failed to load trusted root cA "
                                "certificates"}));
    EXPECT_FALSE(CertMgrLoader::IsLoaded());
    EXPECT_EQ(cert_store_counts().configured, 0u);

    FakeEngine engine(EngineScript{});
    EXPECT_EQ(CertMgrLoader::SetCurlSslContext(&engine), E_FAIL);
    EXPECT_TRUE(
        log.HasError("CertMgrLoader::SetCurlSslContext ca certificates have not been loaded"));
    EXPECT_FALSE(engine.callbacks.contains(curlopt::kSslCtxFunction));
    EXPECT_EQ(TrustedCount(ContextAfterCallback().get()), 0);
    EXPECT_TRUE(log.HasTrace(
        "cert_add_from_keystore: Certificates have not been loaded from the Keychain"));
}

TEST_F(CertMgr, RootStoreThatCannotBeOpenedIsRetriedByTheNextInit) {
    {
        const ScopedRootStore roots(ScopedRootStore::Unavailable{});
        EXPECT_EQ(CertMgrLoader::Init(&config), S_OK);
        EXPECT_TRUE(log.HasError("cert_store_load(): The ROOT store could not be opened."));
        EXPECT_FALSE(CertMgrLoader::IsLoaded());
    }
    const ScopedRootStore roots({Certs().Ca().certificatePem});
    EXPECT_EQ(CertMgrLoader::Init(&config), S_OK);
    EXPECT_TRUE(CertMgrLoader::IsLoaded());
}

TEST_F(CertMgr, ASecondInitChangesNothingAndUnloadLetsTheNextOneLoad) {
    const ScopedRootStore roots({Certs().Ca().certificatePem});
    config.PutCertificates(keys::kTrustedCerts, Certs().OtherHost().certificatePem);
    EXPECT_EQ(CertMgrLoader::Init(&config), S_OK);
    log.Clear();

    config.PutCertificates(keys::kTrustedCerts,
                           Certs().OtherHost().certificatePem + Certs().Expired().certificatePem);
    EXPECT_EQ(CertMgrLoader::Init(&config), S_OK);
    EXPECT_TRUE(log.Records().empty());
    EXPECT_EQ(cert_store_counts().configured, 1u);

    CertMgrLoader::UnloadCerts();
    EXPECT_EQ(
        log.TraceLevel("CertMgrLoader::UnloadCertMgr certs unloaded from certificate manager"),
        kTraceGeneral);
    EXPECT_FALSE(CertMgrLoader::IsLoaded());
    EXPECT_EQ(cert_store_counts().roots, 0u);
    EXPECT_EQ(CertMgrLoader::Init(&config), S_OK);
    EXPECT_EQ(cert_store_counts().configured, 2u);
}

TEST_F(CertMgr, MissingOrBadCaCertificateStillLoads) {
    const ScopedRootStore roots({Certs().Ca().certificatePem});
    const char* kCaFailed =
        "CertMgrLoader::Init failed to load CA certificate from config/agent/cloud/est/cert";
    EXPECT_EQ(CertMgrLoader::Init(&config), S_OK);
    EXPECT_EQ(log.Errors(), std::vector<std::string>{kCaFailed});
    EXPECT_EQ(log.TraceLevel(kLoaded), kTraceGeneral);
    EXPECT_TRUE(CertMgrLoader::IsLoaded());

    CertMgrLoader::UnloadCerts();
    log.Clear();
    config.PutNarrow(keys::kEstCaCert, "not a certificate");
    EXPECT_EQ(CertMgrLoader::Init(&config), S_OK);
    EXPECT_EQ(log.Errors(),
              (std::vector<std::string>{
                  "_pem_to_x509: Failed to convert pem to x509 (not a certificate)", kCaFailed}));
    EXPECT_TRUE(CertMgrLoader::IsLoaded());
    EXPECT_EQ(TrustedCount(ContextAfterCallback().get()), 1);
}

TEST_F(CertMgr, TheCaCertificateGoesIntoEveryContext) {
    const ScopedRootStore roots({Certs().Ca().certificatePem});
    config.PutNarrow(keys::kEstCaCert, Certs().UntrustedCa().certificatePem);
    config.failCertificates = true;
    EXPECT_EQ(CertMgrLoader::Init(&config), S_OK);
    EXPECT_EQ(log.Errors(), std::vector<std::string>{
                                "CertMgrLoader::Init: failed to load trusted certs from config"});
    EXPECT_EQ(TrustedCount(ContextAfterCallback().get()), 2);
    EXPECT_EQ(TrustedCount(ContextAfterCallback().get()), 2);
    EXPECT_EQ(CertMgrLoader::SSLContextConfigCallback(nullptr, nullptr, nullptr), 0);
    EXPECT_TRUE(log.HasError("SSLContextConfigCallback SSL context is NULL"));
}

TEST_F(CertMgr, InstallingTheCallbackFollowsTheTransferRule) {
    const ScopedRootStore roots({Certs().Ca().certificatePem});
    EXPECT_EQ(CertMgrLoader::Init(&config), S_OK);
    for (const int result : {0, 0x1100, 0x1000}) {
        EngineScript script;
        script.callbackResults[curlopt::kSslCtxFunction] = result;
        FakeEngine engine(script);
        log.Clear();
        EXPECT_EQ(CertMgrLoader::SetCurlSslContext(&engine), result == 0x1000 ? E_FAIL : S_OK);
        EXPECT_EQ(engine.callbacks[curlopt::kSslCtxFunction],
                  reinterpret_cast<void*>(&CertMgrLoader::SSLContextConfigCallback));
        EXPECT_EQ(log.Errors().size(), result == 0x1000 ? 1u : 0u);
    }
    EXPECT_TRUE(log.HasError("CertMgrLoader::SetCurlSslContextres: 4096, option: 20108"));
}

TEST_F(CertMgr, TheLayerRefusesASecondLoadAndANullStore) {
    const ScopedRootStore roots({Certs().Ca().certificatePem});
    EXPECT_EQ(CertMgrLoader::Init(&config), S_OK);
    EXPECT_EQ(cert_store_load(nullptr, 0), -1);
    EXPECT_TRUE(log.HasError(
        "cert_store_load(): Certificates already loaded, unload certificates first to free "
        "existing certificates"));
    cert_add_from_keystore(nullptr, nullptr);
    EXPECT_TRUE(log.HasError("cert_add_from_keystore: Invalid argument - X509_STORE is NULL"));
}

TEST(CertStoreWriters, TraceAnswersOnlyToItsOwnBitsAndANonZeroDebugLevel) {
    {
        const LogCapture everything;
        certs::trace(kTraceGeneral, "general %d", 1);
        certs::trace(kTraceAll, "all %d", 2);
        certs::trace(0x4000000, "bit 26 %d", 3);
        EXPECT_EQ(everything.Traces(), (std::vector<std::string>{"all 2", "bit 26 3"}));
    }
    {
        // A debug level that venit's own trace would not pass at level 0x1000.
        const LogCapture levelOne(0x1);
        certs::trace(kTraceAll, "with %ws", u"wide text");
        EXPECT_EQ(levelOne.Traces(), std::vector<std::string>{"with wide text"});
    }
    {
        const LogCapture off(0);
        certs::trace(kTraceAll, "never");
        EXPECT_TRUE(off.Records().empty());
    }
}

TEST(CertStoreWriters, AnEmptyMessageIsReportedInstead) {
    const LogCapture log;
    hvx_error("");
    certs::trace(kTraceAll, "%s", "");
    hvx_error("error %lu", 7u);
    EXPECT_EQ(log.Errors(), (std::vector<std::string>{"hvx_error _vscprintf() returned 0",
                                                      "trace _vscprintf() returned 0", "error 7"}));
}

}  // namespace
}  // namespace hvx::test
