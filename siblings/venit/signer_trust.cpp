#include "siblings/venit/signer_trust.h"

#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <cstdint>
#include <cstring>
#include <utility>

#include "interfaces/IConfig.h"
#include "platform/module.h"
#include "siblings/venit/signature.h"

namespace Util::signature {

namespace {

constexpr const char16_t* kStoreModule = u"tolva.dll";
constexpr const char* kStoreFactory = "CreateConfigClassInstance";

struct BioFree {
    void operator()(BIO* bio) const { BIO_free_all(bio); }
};
struct X509Free {
    void operator()(X509* certificate) const { X509_free(certificate); }
};

TrustStorePtr NewStore() {
    TrustStorePtr store(X509_STORE_new());
    if (store) {
        // A trusted signing certificate needs no issuer of its own in the store.
        X509_STORE_set_flags(store.get(), X509_V_FLAG_PARTIAL_CHAIN);
        // The signer's key usage is judged here (codeSigning), not by the e-mail rules that CMS
        // verification would apply by default.
        X509_STORE_set_purpose(store.get(), X509_PURPOSE_ANY);
    }
    return store;
}

int AddPem(X509_STORE* store, const char* pem) {
    const std::unique_ptr<BIO, BioFree> bio(BIO_new_mem_buf(pem, -1));
    int added = 0;
    while (bio) {
        const std::unique_ptr<X509, X509Free> certificate(
            PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr));
        if (!certificate) {
            break;
        }
        added += X509_STORE_add_cert(store, certificate.get());
    }
    ERR_clear_error();
    return added;
}

// The configuration store, made by tolva for this one read and destroyed again.
int AddConfigured(X509_STORE* store) {
    HMODULE module = hvx::os::LoadLibraryW(kStoreModule);
    if (module == nullptr) {
        return 0;
    }
    int added = 0;
    const auto create = reinterpret_cast<hvx::CreateConfigClassInstanceFn>(
        hvx::os::GetProcAddress(module, kStoreFactory));
    if (hvx::IConfig* config = create != nullptr ? create() : nullptr) {
        config->SetModule(module);
        X509** certificates = nullptr;
        std::uint32_t count = 0;
        if (config->Load(0) != 0 &&
            config->GetCertificates(kSignerCertKey, &certificates, &count) == 0) {
            for (std::uint32_t i = 0; i < count; ++i) {
                added += X509_STORE_add_cert(store, certificates[i]);
            }
            config->FreeCertificates(certificates, count);
        }
        delete config;
    }
    hvx::os::FreeLibrary(module);
    return added;
}

}  // namespace

TrustStorePtr MakeTrustStore(const char* pem) {
    TrustStorePtr store = NewStore();
    if (!store) {
        return nullptr;
    }
    const int added = pem != nullptr ? AddPem(store.get(), pem) : AddConfigured(store.get());
    return added > 0 ? std::move(store) : nullptr;
}

}  // namespace Util::signature
