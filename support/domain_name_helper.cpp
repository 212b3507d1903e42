#include <memory>

#include "interfaces/hvx_types.h"
#include "siblings/venit/venit.h"
#include "support/config_keys.h"
#include "support/host_identity.h"
#include "support/trace_levels.h"

namespace hvx {

namespace {

constexpr int kPersist = 1;

// The cached name as the store handed it out (given back when this goes), and a copy.
class CachedHostName {
public:
    explicit CachedHostName(IConfig* config)
        : m_text(config != nullptr ? config->GetString(keys::kCachedHostName) : nullptr,
                 Releaser{config}) {
        if (m_text) {
            m_copy = m_text.get();
        }
    }
    const std::u16string& Text() const { return m_copy; }

private:
    struct Releaser {
        IConfig* config;
        void operator()(char16_t* text) const { config->FreeString(text); }
    };
    std::unique_ptr<char16_t, Releaser> m_text;
    std::u16string m_copy;
};

// Asks the method for the fully qualified name, then for the host name. True when one of them
// gave a name.
bool FindName(const ComputerNameMethod& method, std::u16string& name) {
    for (const COMPUTER_NAME_FORMAT format :
         {ComputerNameDnsFullyQualified, ComputerNameDnsHostname}) {
        if (method(format, name) == FALSE) {
            continue;
        }
        if (!name.empty()) {
            return true;
        }
        error("DomainNameHelper::GetFQDomainName: GetComputerNameEx() returned an empty string");
    }
    return false;
}

// Remembers a found name that differs from the cached one.
void UpdateCachedName(IConfig* config, const std::u16string& cached, const std::u16string& name) {
    if (name == cached) {
        return;
    }
    trace(kTraceGeneral,
          u"DomainNameHelper::GetFQDomainName: Cached hostname: %s, Actual hostname: %s", cached,
          name);
    if (config == nullptr) {
        return;
    }
    if (config->SetString(keys::kCachedHostName, name.c_str(), kPersist) == 0 &&
        config->AddString(keys::kCachedHostName, name.c_str(), kPersist) == 0) {
        error(
            u"DomainNameHelper::GetFQDomainName: Couldn't save HVX_SET_PATH_CACHED_HOSTNAME=%s to "
            u"config",
            name);
    }
}

}  // namespace

// The method is taken by value: the caller hands it over, and it goes when the lookup ends.
HRESULT DomainNameHelper::GetFQDomainName(
    IConfig* config, std::u16string& name,
    ComputerNameMethod method) {  // NOLINT(performance-unnecessary-value-param)
    if (!method) {
        error("DomainNameHelper::GetFQDomainName: Invalid Method to get Computer name passed");
        return E_INVALIDARG;
    }
    if (config == nullptr) {
        trace(kTraceGeneral,
              "DomainNameHelper::GetFQDomainName: Config object is null, skipping caching...");
    }
    const CachedHostName cached(config);
    if (cached.Text().empty()) {
        trace(kTraceGeneral, "DomainNameHelper::GetFQDomainName: couldn't find %s in config",
              keys::kCachedHostName);
    }
    if (FindName(method, name)) {
        UpdateCachedName(config, cached.Text(), name);
    } else if (!cached.Text().empty() && name.empty()) {
        error(
            u"DomainNameHelper::GetFQDomainName: Calls to GetComputerNameEx() failed using cached "
            u"hostname=%s instead",
            cached.Text());
        name = cached.Text();
    } else {
        error("DomainNameHelper::GetFQDomainName: Could not determine computer name");
        return HVX_E_GENERAL;
    }
    trace(kTraceGeneral, u"DomainNameHelper::GetFQDomainName: returning %s", name);
    return S_OK;
}

}  // namespace hvx
