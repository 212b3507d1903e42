// _pem_to_x509: the CA certificate from its PEM text in the configuration store.
#include <openssl/err.h>
#include <openssl/pem.h>

#include <cstring>
#include <memory>

#include "shared_agent/util/cert_mgr_state.h"
#include "shared_agent/util/cert_store_log.h"
#include "support/config_keys.h"

namespace hvx {

namespace {

struct StoreTextRelease {
    IConfig* config;
    void operator()(char* text) const { config->FreeStringA(text); }
};

}  // namespace

HRESULT _pem_to_x509(IConfig* config) {
    if (config == nullptr) {
        return E_UNEXPECTED;
    }
    const std::unique_ptr<char, StoreTextRelease> pem(config->GetStringA(keys::kEstCaCert),
                                                      StoreTextRelease{config});
    if (!pem || *pem == '\0') {
        return E_UNEXPECTED;
    }
    const BioPtr stream(BIO_new_mem_buf(pem.get(), static_cast<int>(std::strlen(pem.get()))));
    if (!stream) {
        hvx_error("_pem_to_x509: Failed to allocate memory (%s)", pem.get());
        return E_FAIL;
    }
    X509Ptr certificate(PEM_read_bio_X509(stream.get(), nullptr, nullptr, nullptr));
    if (!certificate) {
        ERR_clear_error();
        hvx_error("_pem_to_x509: Failed to convert pem to x509 (%s)", pem.get());
        return E_FAIL;
    }
    certs::Manager().caCertificate = std::move(certificate);
    return S_OK;
}

}  // namespace hvx
