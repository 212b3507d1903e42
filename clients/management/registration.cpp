// COstraHttp::Register: announces the agent to the management backend when NeedsRegister says
// something changed.
#include <cstring>
#include <span>
#include <string>

#include "clients/management/decimal_text.h"
#include "clients/management/ostra_http.h"
#include "siblings/venit/venit.h"
#include "support/config_access.h"
#include "support/config_keys.h"
#include "support/trace_levels.h"

namespace hvx {

namespace {

constexpr DWORD kServer2003Major = 5;
constexpr DWORD kServer2003Minor = 2;

}  // namespace

struct COstraHttp::OsFacts {
    OSVERSIONINFOEXW version{};
    std::uint16_t architecture = 0;
    DWORD productType = 0;
    std::uint32_t serverR2 = 0;
    bool hasUpTime = false;
    std::uint64_t upTime = 0;
};

HRESULT COstraHttp::Register(const std::uint32_t* coins, std::uint32_t count) {
    if (coins == nullptr && count != 0) {
        return S_FALSE;
    }
    if (!NeedsRegister()) {
        return S_OK;
    }
    trace(kTraceGeneral, u"hvx::COstraHttp::Register: registering, reason: %s",
          m_reregisterReason.empty() ? u"not registered" : m_reregisterReason.c_str());
    static_cast<void>(FindCommonEndpointInfo());
    const HRESULT kept = KeepCoins(coins, count);
    if (FAILED(kept)) {
        return kept;
    }
    const HRESULT result = SendRegistration();
    if (ReadConfigDword2Raw(keys::kLocalTestPolicy) == 1) {
        trace(kTraceGeneral, "hvx::COstraHttp::Register: Using Local Test Policy");
        return S_OK;
    }
    return result;
}

HRESULT COstraHttp::KeepCoins(const std::uint32_t* coins, std::uint32_t count) {
    m_coins.reset();
    m_coinCount = 0;
    if (count == 0) {
        return S_OK;
    }
    std::size_t bytes = 0;
    if (!Util::SafeMul(count, sizeof(std::uint32_t), bytes)) {
        return E_FAIL;
    }
    m_coins.reset(static_cast<std::uint32_t*>(Util::SafeMalloc(bytes)));
    if (!m_coins) {
        return E_FAIL;
    }
    std::memcpy(m_coins.get(), coins, bytes);
    m_coinCount = count;
    return S_OK;
}

HRESULT COstraHttp::SendRegistration() {
    ReadInstallToken();
    OsFacts facts;
    if (!GatherOsFacts(facts)) {
        error("failed to GetOsVersionInfo, aborting");
        return HVX_E_GENERAL;
    }
    m_proFlag = 0;
    static_cast<void>(ReadConfigDword2(keys::kProEnabled, m_proFlag));

    CHttpCurl session;
    // A session that failed to set up fails the send below, which reports it.
    static_cast<void>(StartSession(session, u"POST", m_mgmtEndpoint + u"register", 0));
    AddRegistrationFields(session, facts);
    std::uint32_t status = 0;
    std::string answer;
    const HRESULT result = session.MakeRequestToString(status, answer);
    m_backendAnswered = SUCCEEDED(result) || static_cast<std::int32_t>(status) > 0 ? 1 : 0;
    if (SUCCEEDED(result)) {
        m_registered = 1;
    }
    return result;
}

void COstraHttp::ReadInstallToken() {
    if (FAILED(ReadConfigString(keys::kInstallToken, m_installToken))) {
        error(
            "Registration without an installation token will fail if it's the first "
            "registration, however, continuing the attempt.");
    }
}

bool COstraHttp::GatherOsFacts(OsFacts& facts) const {
    if (m_env.osVersion(facts.version) == FALSE) {
        return false;
    }
    facts.architecture = m_env.nativeArchitecture();
    const bool version52 = facts.version.dwMajorVersion == kServer2003Major &&
                           facts.version.dwMinorVersion == kServer2003Minor;
    facts.serverR2 = version52 && m_env.serverR2() ? 1 : 0;
    switch (m_env.productInfo(facts.version, facts.productType)) {
        case os::ProductInfoLookup::ModuleMissing:
            error("failed to load kernel32?");
            break;
        case os::ProductInfoLookup::FunctionMissing:
            trace(kTraceGeneral, "failed to find GetProductInfo, xp-ish.");
            break;
        case os::ProductInfoLookup::CallFailed:
            trace(kTraceGeneral, "failed to call GetProductInfo");
            break;
        case os::ProductInfoLookup::Found:
            break;
    }
    facts.hasUpTime = m_env.upTime(facts.upTime);
    return true;
}

void COstraHttp::AddRegistrationFields(CHttpCurl& session, const OsFacts& facts) {
    const OSVERSIONINFOEXW& version = facts.version;
    const auto add = [&session](const char16_t* name, const std::u16string& value) {
        static_cast<void>(session.AddFormField(name, value));
    };
    const auto number = [&session](const char16_t* name, std::uint32_t value) {
        static_cast<void>(session.AddFormField(name, value));
    };
    add(u"agent_guid", m_agentGuid);
    add(u"affiliate_guid", m_affiliateGuid);
    add(u"business_guid", m_businessGuid);
    add(u"itoken", m_installToken);
    add(u"hostname", m_hostName);
    number(u"os[architecture]", facts.architecture);
    number(u"os[build]", version.dwBuildNumber);
    number(u"os[major]", version.dwMajorVersion);
    number(u"os[minor]", version.dwMinorVersion);
    number(u"os[platform_id]", version.dwPlatformId);
    number(u"os[product_info_type]", facts.productType);
    number(u"os[product_type]", version.wProductType);
    number(u"os[service_pack_major]", version.wServicePackMajor);
    number(u"os[service_pack_minor]", version.wServicePackMinor);
    number(u"os[suite_mask]", version.wSuiteMask);
    number(u"os[sm_server_r2]", facts.serverR2);
    number(u"pl", m_proFlag);
    if (!m_reregisterReason.empty()) {
        add(u"rrr", m_reregisterReason);
    }
    {
        const os::CriticalSectionLock lock(m_adaptersLock);
        add(u"nic_count", DecimalText(m_adapters.size()));
    }
    AddAdapterFields(session);
    add(u"csid", m_machineSid);
    add(u"csidhex", m_machineSidHex);
    // The list ends at its first 0.
    for (const std::uint32_t coin : std::span(m_coins.get(), m_coinCount)) {
        if (coin == 0) {
            break;
        }
        number(u"coin[]", coin);
    }
    if (facts.hasUpTime) {
        static_cast<void>(session.AddFormField(u"supt", facts.upTime));
    }
}

}  // namespace hvx
