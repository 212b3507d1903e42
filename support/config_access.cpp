#include "support/config_access.h"

#include <memory>

#include "interfaces/IConfig.h"
#include "interfaces/hvx_types.h"
#include "support/config_singleton.h"

namespace hvx {

namespace {

using DwordReader = std::uint32_t (IConfig::*)(const char*);
using StringReader = char16_t* (IConfig::*)(const char*);

HRESULT ReadDword(DwordReader read, const std::string& key, std::uint32_t& value) {
    IConfig* config = CConfigSingleton::GetInstance();
    if (config == nullptr) {
        return HVX_E_CONFIG_UNAVAILABLE;
    }
    const std::uint32_t stored = (config->*read)(key.c_str());
    if (stored == kConfigAbsent) {
        return HVX_E_CONFIG_UNAVAILABLE;
    }
    value = stored;
    return S_OK;
}

HRESULT ReadString(StringReader read, const std::string& key, std::u16string& value) {
    IConfig* config = CConfigSingleton::GetInstance();
    if (config == nullptr) {
        return HVX_E_CONFIG_UNAVAILABLE;
    }
    const auto release = [config](char16_t* text) { config->FreeString(text); };
    const std::unique_ptr<char16_t, decltype(release)> text((config->*read)(key.c_str()), release);
    if (!text) {
        return HVX_E_CONFIG_UNAVAILABLE;
    }
    value.assign(text.get());
    return S_OK;
}

// Set, else add; then save. `set` and `add` each return the store's non-zero-on-success result.
template <typename Set, typename Add>
HRESULT Write(Set set, Add add) {
    IConfig* config = CConfigSingleton::GetInstance();
    if (config == nullptr) {
        return HVX_E_CONFIG_UNAVAILABLE;
    }
    if (set(*config) == 0 && add(*config) == 0) {
        return HVX_E_CONFIG_WRITE;
    }
    return config->Save(0) == 0 ? HVX_E_CONFIG_SAVE : S_OK;
}

constexpr int kPersist = 1;

}  // namespace

HRESULT ReadConfigDword(const std::string& key, std::uint32_t& value) {
    return ReadDword(&IConfig::GetDword, key, value);
}

HRESULT ReadConfigDword2(const std::string& key, std::uint32_t& value) {
    return ReadDword(&IConfig::GetDword2, key, value);
}

std::uint32_t ReadConfigDword2Raw(const std::string& key) {
    IConfig* config = CConfigSingleton::GetInstance();
    return config == nullptr ? kConfigAbsent : config->GetDword2(key.c_str());
}

HRESULT ReadConfigString(const std::string& key, std::u16string& value) {
    return ReadString(&IConfig::GetString, key, value);
}

HRESULT ReadConfigString2(const std::string& key, std::u16string& value) {
    return ReadString(&IConfig::GetString2, key, value);
}

HRESULT WriteConfigDword(const std::string& key, std::uint32_t value) {
    return Write([&](IConfig& c) { return c.SetDword(key.c_str(), value, kPersist); },
                 [&](IConfig& c) { return c.AddDword(key.c_str(), value, kPersist); });
}

HRESULT WriteConfigString(const std::string& key, const std::u16string& value) {
    return Write([&](IConfig& c) { return c.SetString(key.c_str(), value.c_str(), kPersist); },
                 [&](IConfig& c) { return c.AddString(key.c_str(), value.c_str(), kPersist); });
}

}  // namespace hvx
