// COstraHttp::NeedsRegister and the rate limiter: whether Register must send, and why.
#include "clients/management/ostra_http.h"
#include "siblings/venit/venit.h"
#include "support/config_access.h"
#include "support/config_keys.h"
#include "support/config_singleton.h"
#include "support/trace_levels.h"

namespace hvx {

namespace {

constexpr std::uint64_t kFileTimeTicksPerMillisecond = 10000;

}  // namespace

bool COstraHttp::NeedsRegister() {
    m_reregisterReason.clear();
    bool needed = HostNameChanged();
    const AdapterChange adapters = AdaptersChanged();
    if (adapters == AdapterChange::Count) {
        m_reregisterReason += u"/nic_c";
        needed = true;
    } else if (adapters == AdapterChange::Info) {
        m_reregisterReason += u"/nic_info";
        needed = true;
    }
    // A change in the number of adapters decides without the pro flag.
    if (!needed) {
        std::uint32_t pro = 0;
        static_cast<void>(ReadConfigDword2(keys::kProEnabled, pro));
        if (pro != m_proFlag) {
            m_reregisterReason += u"/vorta";
            needed = true;
        } else if (m_registered != 0) {
            return false;
        } else {
            needed = true;
        }
    }
    if (m_backendAnswered != 0 && CheckRateLimit()) {
        error("Rate-limiting re-register.");
        needed = false;
    }
    return needed;
}

bool COstraHttp::HostNameChanged() {
    std::u16string current;
    if (FAILED(DomainNameHelper::GetFQDomainName(CConfigSingleton::GetInstance(), current,
                                                 m_env.computerName)) ||
        current == m_hostName) {
        return false;
    }
    m_hostName = current;
    m_reregisterReason += u"/hnm";
    return true;
}

COstraHttp::AdapterChange COstraHttp::AdaptersChanged() {
    NicInventory fresh;
    if (FAILED(m_env.networkInfo(fresh))) {
        return AdapterChange::Unknown;
    }
    const os::CriticalSectionLock lock(m_adaptersLock);
    if (fresh.size() != m_adapters.size()) {
        m_adapters = std::move(fresh);
        return AdapterChange::Count;
    }
    // Only adapters present in both are compared: one that went while another came is no
    // change of information.
    for (const auto& [index, known] : m_adapters) {
        const auto found = fresh.find(index);
        if (found != fresh.end() &&
            (found->second.ipv4 != known.ipv4 || found->second.mac != known.mac)) {
            m_adapters = std::move(fresh);
            return AdapterChange::Info;
        }
    }
    return AdapterChange::None;
}

void COstraHttp::ReadRateSettings() {
    const auto read = [](const char* key, std::uint32_t fallback) {
        std::uint32_t value = fallback;
        static_cast<void>(ReadConfigDword(key, value));
        return value;
    };
    m_rateEnabled = read(keys::kRateEnabled, keys::kRateEnabledDefault);
    m_rateLimit = read(keys::kRateLimit, keys::kRateLimitDefault);
    m_rateInterval = read(keys::kRateInterval, keys::kRateIntervalDefault);
}

bool COstraHttp::CheckRateLimit() {
    // An interval of 0 means "not read yet", so a configured 0 is read again at every call.
    if (m_rateEnabled != 0 && m_rateInterval == 0) {
        ReadRateSettings();
    }
    if (m_rateEnabled == 0) {
        return false;
    }
    if (m_rateCount == 0) {
        m_windowStart = m_env.systemTime();
        m_rateCount = 1;
        return false;
    }
    if (m_rateCount <= m_rateLimit) {
        ++m_rateCount;
        return false;
    }
    const std::uint64_t elapsed =
        (m_env.systemTime() - m_windowStart) / kFileTimeTicksPerMillisecond;
    if (elapsed <= m_rateInterval) {
        trace(kTraceGeneral, "Rate-limiting.");
        return true;
    }
    m_rateCount = 0;
    trace(kTraceGeneral, "Resetting rate-limiting.");
    return false;
}

}  // namespace hvx
