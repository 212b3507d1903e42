// CertMgrLoader's process-wide state: the certificate-manager lock, the loaded flag and the CA
// certificate.
#pragma once

#include <optional>

#include "interfaces/IConfig.h"
#include "platform/base_types.h"
#include "platform/critical_section.h"
#include "shared_agent/util/openssl_holders.h"

namespace hvx::certs {

struct ManagerState {
    bool loaded = false;
    X509Ptr caCertificate;
};

// The lock; empty after UnloadCertMgr deleted it.
std::optional<os::CriticalSection>& ManagerLock();
// The state; read and written only under the manager lock.
ManagerState& Manager();

}  // namespace hvx::certs

namespace hvx {

// Reads the PEM text under "config/agent/cloud/est/cert" into the CA certificate; the caller
// holds the manager lock. 0; E_UNEXPECTED when there is no text; E_FAIL (logged) when it cannot be
// read as a certificate.
[[nodiscard]] HRESULT _pem_to_x509(IConfig* config);

}  // namespace hvx
