// The certificates a signature must chain to: from PEM text, or from the configuration store.
#pragma once

#include <openssl/x509.h>

#include <memory>

namespace Util::signature {

struct StoreFree {
    void operator()(X509_STORE* store) const { X509_STORE_free(store); }
};
using TrustStorePtr = std::unique_ptr<X509_STORE, StoreFree>;

// A store holding every certificate of `pem`, or, for null, those kept in the configuration store
// under kSignerCertKey. Null when there is none. A trusted certificate anchors a chain by
// itself, whoever issued it.
TrustStorePtr MakeTrustStore(const char* pem);

}  // namespace Util::signature
