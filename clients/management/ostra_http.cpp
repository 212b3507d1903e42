// COstraHttp: construction, Init, the small operations, and what every request shares (the
// session set-up and the adapter fields).
#include "clients/management/ostra_http.h"

#include <string>
#include <utility>

#include "clients/management/decimal_text.h"
#include "shared_agent/util/cert_mgr_loader.h"
#include "siblings/venit/venit.h"
#include "support/config_access.h"
#include "support/config_keys.h"
#include "support/trace_levels.h"

namespace hvx {

COstraHttp::COstraHttp() : COstraHttp(OstraEnvironment::System()) {}

COstraHttp::COstraHttp(OstraEnvironment environment) : m_env(std::move(environment)) {}

COstraHttp::~COstraHttp() = default;

namespace {

// One read of Init: the key, the member, its log line, and whether the tolerant flag lets Init
// carry on without it.
struct InitRead {
    const char* key;
    std::u16string COstraHttp::*member;
    const char* missing;
    bool tolerable;
};

}  // namespace

HRESULT COstraHttp::Init(ShutdownCallback shutdown, std::uint8_t tolerant) {
    // The reads run in this order and stop at the first missing value that is not tolerated.
    static const InitRead kReads[] = {
        {keys::kMgmtEndpoint, &COstraHttp::m_mgmtEndpoint, "Failed to get management endpoint.",
         false},
        {keys::kEventEndpoint, &COstraHttp::m_eventEndpoint, "Failed to get event endpoint.",
         false},
        {keys::kAgentUuid, &COstraHttp::m_agentGuid,
         "Failed to get agent guid for ostra configuration.", true},
        {keys::kAffiliateUuid, &COstraHttp::m_affiliateGuid,
         "Failed to get affiliate guid for ostra configuration.", true},
        {keys::kBusinessUuid, &COstraHttp::m_businessGuid,
         "Failed to get business guid for ostra configuration.", false},
    };
    HRESULT result = S_OK;
    bool complete = true;
    for (const InitRead& read : kReads) {
        result = ReadConfigString(read.key, this->*read.member);
        if (SUCCEEDED(result)) {
            continue;
        }
        error(read.missing);
        if (!read.tolerable || tolerant == 0) {
            complete = false;
            break;
        }
    }
    if (complete) {
        trace(kTraceGeneral, u"Successfully configured endpoints: %s %s %s", m_mgmtEndpoint,
              m_eventEndpoint, u"");
    } else {
        error("Failed to configure endpoints for Ostra, check near: %s.", keys::kMgmtEndpoint);
    }
    m_shutdown = std::move(shutdown);
    m_initialised = 1;
    return result;
}

HRESULT COstraHttp::Register2(const std::uint32_t* coins, std::uint32_t count) {
    return Register(coins, count);
}

void COstraHttp::ResetRegister() {
    const std::uint32_t old = m_registered;
    m_registered = 0;
    trace(kTraceGeneral, " reset ostra register: old: %d, new: %d", old, 0);
}

void COstraHttp::UnloadCerts() {
    CertMgrLoader::UnloadCertMgr();
}

HRESULT COstraHttp::StartSession(CHttpCurl& session, const char16_t* method, std::u16string url,
                                 std::uint32_t timeoutSeconds) const {
    ShutdownCallback copy = m_shutdown;
    return session.Init(method, std::move(url), std::move(copy), nullptr, timeoutSeconds);
}

void COstraHttp::AddAdapterFields(CHttpCurl& session) {
    const os::CriticalSectionLock lock(m_adaptersLock);
    std::uint32_t position = 0;
    for (const auto& [index, adapter] : m_adapters) {
        const std::u16string prefix = u"nics[" + DecimalText(position) + u"][";
        static_cast<void>(session.AddFormField(prefix + u"friendly_name]", adapter.friendly_name));
        static_cast<void>(session.AddFormField(prefix + u"ip]", adapter.ipv4));
        static_cast<void>(session.AddFormField(prefix + u"mac]", adapter.mac));
        ++position;
    }
}

}  // namespace hvx
