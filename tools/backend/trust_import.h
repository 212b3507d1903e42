// trust.json: a store import for `caspo-config import` (and `caspo config import`) that makes the
// library trust the backend's CA and verify both the peer and the host name:
//
//   {"config/agent/cloud/trustedcerts/cert": {"type": "cert", "value": "<CA PEM>"},
//    "config/conn/varenssl/verifyhost": 1,
//    "config/conn/varenssl/verifypeer": 1}
#pragma once

#include <string>

namespace hvx::backend {

std::string TrustImportJson(const std::string& caPem);

// A store import of one certificate under `key`: {"<key>": {"type": "cert", "value": "<PEM>"}}.
std::string CertificateImportJson(const char* key, const std::string& pem);

}  // namespace hvx::backend
