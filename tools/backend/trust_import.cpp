#include "tools/backend/trust_import.h"

#include <json/json.h>

#include "tools/common/json_text.h"

namespace hvx::backend {
namespace {

constexpr const char* kTrustedCertsKey = "config/agent/cloud/trustedcerts/cert";
constexpr const char* kVerifyHostKey = "config/conn/varenssl/verifyhost";
constexpr const char* kVerifyPeerKey = "config/conn/varenssl/verifypeer";
// The library turns a check on only for exactly this value.
constexpr Json::UInt kOn = 1;

Json::Value CertificateImport(const char* key, const std::string& pem) {
    Json::Value certificate(Json::objectValue);
    certificate["type"] = "cert";
    certificate["value"] = pem;
    Json::Value import(Json::objectValue);
    import[key] = certificate;
    return import;
}

}  // namespace

std::string CertificateImportJson(const char* key, const std::string& pem) {
    return tools::IndentedJson(CertificateImport(key, pem));
}

std::string TrustImportJson(const std::string& caPem) {
    Json::Value import = CertificateImport(kTrustedCertsKey, caPem);
    import[kVerifyHostKey] = kOn;
    import[kVerifyPeerKey] = kOn;
    return tools::IndentedJson(import);
}

}  // namespace hvx::backend
