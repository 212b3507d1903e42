// CertMgrLoader: the process-wide trusted certificates (the ROOT store, the certificates under
// "config/agent/cloud/trustedcerts/cert" and the CA certificate under
// "config/agent/cloud/est/cert"), loaded by the first session set-up and installed into every TLS
// context a session's transfers create.
//
// The certificate-manager lock guards the loaded flag and the CA certificate; it is taken before
// the certificate-store layer's lock, never after. Both locks are made by the library's static
// initialisation, which also registers UnloadCertMgr to run at exit.
#pragma once

#include "interfaces/IConfig.h"
#include "interfaces/ITransferEngine.h"
#include "platform/base_types.h"

namespace hvx {

class CertMgrLoader {
public:
    // Loads the certificates unless they are loaded. Failures are logged and absorbed: while the
    // ROOT store gives nothing, nothing is loaded and the next call tries again; a missing or bad
    // CA certificate only loses that certificate. Always 0.
    static HRESULT Init(IConfig* config);

    // Installs SSLContextConfigCallback into the engine instance (CURLOPT_SSL_CTX_FUNCTION). 0;
    // E_FAIL (logged) when the certificates are not loaded or the engine refuses the option.
    static HRESULT SetCurlSslContext(ITransferEngine* engine);

    // The TLS-context callback: adds the trusted certificates and the CA certificate to the
    // context's trust store. Always 0 (CURLE_OK).
    static int SSLContextConfigCallback(void* handle, void* sslContext, void* user);

    // Frees everything and deletes the certificate-manager lock; runs at process exit. Later
    // calls of this class do nothing (SetCurlSslContext gives E_FAIL).
    static void UnloadCertMgr();

    // The same while keeping the lock, so that the next Init loads again.
    static void UnloadCerts();

    // Whether the certificates are loaded.
    static bool IsLoaded();
};

}  // namespace hvx
