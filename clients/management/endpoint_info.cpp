// COstraHttp::FindCommonEndpointInfo: the host name, adapters, machine account SID and hardware
// id that every management request reports. Each step is best effort.
#include <string>
#include <vector>

#include "clients/management/ostra_http.h"
#include "siblings/venit/venit.h"
#include "support/config_access.h"
#include "support/config_keys.h"
#include "support/config_singleton.h"
#include "support/trace_levels.h"

namespace hvx {

namespace {

std::u16string UpperHex(const std::vector<std::uint8_t>& bytes) {
    constexpr const char16_t* kDigits = u"0123456789ABCDEF";
    constexpr unsigned kNibbleBits = 4;
    constexpr std::uint8_t kNibbleMask = 0x0F;
    std::u16string text;
    for (const std::uint8_t byte : bytes) {
        text.push_back(kDigits[byte >> kNibbleBits]);
        text.push_back(kDigits[byte & kNibbleMask]);
    }
    return text;
}

}  // namespace

HRESULT COstraHttp::FindCommonEndpointInfo() {
    RefreshHostName();
    RefreshAdapters();
    RefreshMachineSid();
    RefreshHardwareId();
    return S_OK;
}

void COstraHttp::RefreshHostName() {
    const HRESULT result = DomainNameHelper::GetFQDomainName(CConfigSingleton::GetInstance(),
                                                             m_hostName, m_env.computerName);
    if (FAILED(result)) {
        error("Failed to COstraHttp::GetFQDomainName (0x%08x) unlikely to succeed but trying",
              result);
    }
}

void COstraHttp::RefreshAdapters() {
    const os::CriticalSectionLock lock(m_adaptersLock);
    const HRESULT result = m_env.networkInfo(m_adapters);
    if (FAILED(result)) {
        error("Failed to get network info (0x%08x) carrying on", result);
    }
}

void COstraHttp::RefreshMachineSid() {
    std::u16string account;
    // GetNetBIOSName logs its own failure.
    if (m_env.netBiosName(account) == FALSE) {
        error("Failed to get the machine name, ldap info unlikely.");
        account.clear();
    }
    account += u"$";
    std::vector<std::uint8_t> sid;
    if (m_env.accountSid(account, sid) != ERROR_SUCCESS) {
        error("Failed to LookupAccountName for system, failed to get ldap info.");
        return;
    }
    std::u16string text;
    if (!os::ConvertSidToStringSid(sid, text)) {
        error("Failed to ConvertSidToStringSid.");
        return;
    }
    m_machineSid = text;
    trace(kTraceGeneral, u"received %s for machine sid.", m_machineSid);
    m_machineSidHex = u"0x" + UpperHex(sid);
}

void COstraHttp::RefreshHardwareId() {
    const HRESULT result = ReadConfigString(keys::kHardwareId, m_hardwareId);
    if (FAILED(result)) {
        error("hvx::COstraHttp::FindCommonEndpointInfo: Failed to get Hardware ID: (0x%08x)",
              result);
    }
}

}  // namespace hvx
