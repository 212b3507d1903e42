// A TLS-context callback for the tests: adds one CA certificate (PEM text, the callback's data)
// to the context's trust store, as the library's own callback does with its trusted certificates.
#pragma once

#include <curl/curl.h>

#include <string>

#include "interfaces/ITransferEngine.h"
#include "tests/support/net/openssl_ptr.h"

namespace hvx::test {

inline int AddCaFromPem(void* /*handle*/, void* sslContext, void* user) {
    const auto* pem = static_cast<const std::string*>(user);
    const BioPtr bio(BIO_new_mem_buf(pem->data(), static_cast<int>(pem->size())));
    const X509Ptr ca(PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr));
    X509_STORE* store = SSL_CTX_get_cert_store(static_cast<SSL_CTX*>(sslContext));
    return ca && X509_STORE_add_cert(store, ca.get()) == 1 ? CURLE_OK : CURLE_SSL_CERTPROBLEM;
}

// Makes the engine trust `caPem` (which must outlive its transfers).
inline void TrustCa(ITransferEngine& engine, const std::string& caPem) {
    SslContextCallback callback = &AddCaFromPem;
    ASSERT_EQ(engine.SetCallback(CURLOPT_SSL_CTX_FUNCTION, reinterpret_cast<void*>(callback)),
              CURLE_OK);
    ASSERT_EQ(engine.SetCallbackData(CURLOPT_SSL_CTX_DATA, const_cast<std::string*>(&caPem)),
              CURLE_OK);
}

}  // namespace hvx::test
