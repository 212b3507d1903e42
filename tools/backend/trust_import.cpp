#include "tools/backend/trust_import.h"
#include "tools/common/json_text.h"

#include <json/json.h>

namespace hvx::backend {
namespace {

constexpr const char* kTrustedCertsKey = "config/agent/cloud/trustedcerts/cert";
constexpr const char* kVerifyHostKey = "config/conn/varenssl/verifyhost";
constexpr const char* kVerifyPeerKey = "config/conn/varenssl/verifypeer";
// The library turns a check on only for exactly this value.
constexpr Json::UInt kOn = 1;

}  // namespace

std::string TrustImportJson(const std::string& caPem) {
    Json::Value certificate(Json::objectValue);
    certificate["type"] = "cert";
    certificate["value"] = caPem;
    Json::Value import(Json::objectValue);
    import[kTrustedCertsKey] = certificate;
    import[kVerifyHostKey] = kOn;
    import[kVerifyPeerKey] = kOn;
    return tools::IndentedJson(import);
}

}  // namespace hvx::backend
