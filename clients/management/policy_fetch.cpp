// COstraHttp::FetchPolicy: downloads the policy of a serial into a file. The serial's top four
// bits name the level, whose configured URL template is expanded; "-<serial>" ends the URL.
#include <array>
#include <string>

#include "clients/management/decimal_text.h"
#include "clients/management/ostra_http.h"
#include "session/http_status.h"
#include "siblings/venit/venit.h"
#include "support/config_access.h"
#include "support/config_keys.h"
#include "support/trace_levels.h"

namespace hvx {

namespace {

constexpr std::uint32_t kPolicyTimeLimitSeconds = 30;

struct PolicyLevel {
    std::uint32_t bit;
    const char* templateKey;
};
// Highest bit first: the first one set decides.
constexpr std::array<PolicyLevel, 4> kLevels = {{
    {0x80000000u, keys::kPolicyAffiliate},
    {0x40000000u, keys::kPolicyCompany},
    {0x20000000u, keys::kPolicyPolicy},
    {0x10000000u, keys::kPolicyAgent},
}};

const char* TemplateKeyOf(std::uint32_t serial) {
    for (const PolicyLevel& level : kLevels) {
        if ((serial & level.bit) != 0) {
            return level.templateKey;
        }
    }
    return nullptr;
}

// The deployed policy is the requested one when the agent stored exactly this serial (level
// bits included) under "config/ostra/policy_id".
bool IsDeployed(std::uint32_t serial) {
    std::uint32_t deployed = 0;
    if (FAILED(ReadConfigDword(keys::kPolicyId, deployed))) {
        trace(kTraceGeneral, "No current policy found, carrying on and refreshing policy.");
        return false;
    }
    if (deployed != serial) {
        return false;
    }
    trace(kTraceGeneral, "Policy deployed on agent is current, no need to update.");
    return true;
}

}  // namespace

HRESULT COstraHttp::FetchPolicy(std::uint32_t serial, const char16_t* path, std::uint32_t* status) {
    if (path == nullptr) {
        return S_FALSE;
    }
    if (status != nullptr) {
        *status = 0;
    }
    if (IsDeployed(serial)) {
        return HVX_E_POLICY_CURRENT;
    }
    const char* templateKey = TemplateKeyOf(serial);
    if (templateKey == nullptr) {
        return HVX_E_POLICY_NO_LEVEL;
    }
    std::u16string pathTemplate;
    std::u16string url;
    HRESULT result = ReadConfigString(templateKey, pathTemplate);
    if (SUCCEEDED(result)) {
        result = ExpandPolicyTemplate(pathTemplate, url);
    }
    if (FAILED(result)) {
        error(
            "Failed to find/create the policy fetch path (%hs), template path (%s) from config "
            "for serial: 0x%x. Bailing.",
            templateKey, url, serial);
        return result;
    }
    url += u"-" + DecimalText(serial);

    CHttpCurl session;
    result = StartSession(session, u"GET", url, kPolicyTimeLimitSeconds);
    if (SUCCEEDED(result)) {
        std::uint32_t answered = 0;
        result = session.MakeFileRequest(answered, path);
        if (SUCCEEDED(result) && answered != http::kOk) {
            error(u"Failed to fetch policy at: %s, response given: %d", url, answered);
            if (status != nullptr) {
                *status = answered;
            }
            result = HVX_E_POLICY_STATUS;
        }
    }
    if (ReadConfigDword2Raw(keys::kLocalTestPolicy) == 1) {
        trace(kTraceGeneral, "hvx::COstraHttp::FetchPolicy: Using Local Test Policy");
        result = S_OK;
    }
    return result;
}

}  // namespace hvx
