#include "shared_agent/util/cert_mgr_loader.h"

#include <openssl/ssl.h>

#include "shared_agent/util/cert_mgr_state.h"
#include "shared_agent/util/cert_store.h"
#include "siblings/venit/venit.h"
#include "support/config_keys.h"
#include "support/trace_levels.h"

namespace hvx {

namespace {

// The configured trusted certificates, handed back to the store when done.
class ConfiguredCertificates {
public:
    explicit ConfiguredCertificates(IConfig* config) : m_config(config) {
        m_result = config == nullptr
                       ? -1
                       : config->GetCertificates(keys::kTrustedCerts, &m_certs, &m_count);
    }
    ~ConfiguredCertificates() {
        if (m_config != nullptr) {
            m_config->FreeCertificates(m_certs, m_count);
        }
    }
    ConfiguredCertificates(const ConfiguredCertificates&) = delete;
    ConfiguredCertificates& operator=(const ConfiguredCertificates&) = delete;
    ConfiguredCertificates(ConfiguredCertificates&&) = delete;
    ConfiguredCertificates& operator=(ConfiguredCertificates&&) = delete;

    [[nodiscard]] int Result() const { return m_result; }
    [[nodiscard]] X509** Certificates() const { return m_certs; }
    [[nodiscard]] std::uint32_t Count() const { return m_count; }

private:
    IConfig* m_config;
    X509** m_certs = nullptr;
    std::uint32_t m_count = 0;
    int m_result = 0;
};

// Loads everything; the caller holds the manager lock and the flag is clear.
void LoadUnderLock(IConfig* config) {
    const ConfiguredCertificates configured(config);
    if (configured.Result() != 0) {
        error("CertMgrLoader::Init: failed to load trusted certs from config");
    }
    if (cert_store_load(configured.Certificates(), configured.Count()) != 0) {
        error("CertMgrLoader::Init: failed to load trusted root cA certificates");
        return;
    }
    trace(kTraceGeneral, "CertMgrLoader::Init certs loaded from certificate manager");
    if (_pem_to_x509(config) != 0) {
        error("CertMgrLoader::Init failed to load CA certificate from %s", keys::kEstCaCert);
    }
    certs::Manager().loaded = true;
}

// Frees everything; the caller holds the manager lock.
void UnloadUnderLock() {
    static_cast<void>(cert_store_unload());
    trace(kTraceGeneral, "CertMgrLoader::UnloadCertMgr certs unloaded from certificate manager");
    certs::Manager().caCertificate.reset();
    certs::Manager().loaded = false;
}

// A reference of the caller's own on the CA certificate, or null.
X509Ptr ReferenceCaCertificate() {
    auto& lock = certs::ManagerLock();
    if (!lock) {
        return nullptr;
    }
    os::CriticalSectionLock held(*lock);
    X509* ca = certs::Manager().caCertificate.get();
    if (ca == nullptr || X509_up_ref(ca) != 1) {
        return nullptr;
    }
    return X509Ptr(ca);
}

}  // namespace

HRESULT CertMgrLoader::Init(IConfig* config) {
    auto& lock = certs::ManagerLock();
    if (!lock) {
        return S_OK;
    }
    os::CriticalSectionLock held(*lock);
    if (!certs::Manager().loaded) {
        LoadUnderLock(config);
    }
    return S_OK;
}

HRESULT CertMgrLoader::SetCurlSslContext(ITransferEngine* engine) {
    auto& lock = certs::ManagerLock();
    if (!lock || engine == nullptr) {
        return E_FAIL;
    }
    os::CriticalSectionLock held(*lock);
    if (!certs::Manager().loaded) {
        error("CertMgrLoader::SetCurlSslContext ca certificates have not been loaded");
        return E_FAIL;
    }
    const SslContextCallback callback = &SSLContextConfigCallback;
    const int result =
        engine->SetCallback(curlopt::kSslCtxFunction, reinterpret_cast<void*>(callback));
    if (TransferFailed(result)) {
        error("CertMgrLoader::SetCurlSslContextres: %d, option: %d", result,
              curlopt::kSslCtxFunction);
        return E_FAIL;
    }
    return S_OK;
}

int CertMgrLoader::SSLContextConfigCallback(void* /*handle*/, void* sslContext, void* /*user*/) {
    const X509Ptr ca = ReferenceCaCertificate();
    if (sslContext == nullptr) {
        error("SSLContextConfigCallback SSL context is NULL");
    } else {
        cert_add_from_keystore(SSL_CTX_get_cert_store(static_cast<SSL_CTX*>(sslContext)), ca.get());
    }
    return 0;
}

void CertMgrLoader::UnloadCertMgr() {
    auto& lock = certs::ManagerLock();
    if (!lock) {
        return;
    }
    {
        os::CriticalSectionLock held(*lock);
        UnloadUnderLock();
    }
    lock.reset();
}

void CertMgrLoader::UnloadCerts() {
    auto& lock = certs::ManagerLock();
    if (!lock) {
        return;
    }
    os::CriticalSectionLock held(*lock);
    UnloadUnderLock();
}

bool CertMgrLoader::IsLoaded() {
    auto& lock = certs::ManagerLock();
    if (!lock) {
        return false;
    }
    os::CriticalSectionLock held(*lock);
    return certs::Manager().loaded;
}

}  // namespace hvx
