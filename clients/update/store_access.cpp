#include "clients/update/store_access.h"

#include <memory>

#include "support/config_singleton.h"

namespace hvx::update {

namespace {

constexpr int kPersist = 1;

struct WideRelease {
    IConfig* config;
    void operator()(char16_t* text) const { config->FreeString(text); }
};
using WideText = std::unique_ptr<char16_t, WideRelease>;

std::optional<std::u16string> Copy(const WideText& text, std::size_t limit) {
    if (!text) {
        return std::nullopt;
    }
    return std::u16string(text.get()).substr(0, limit);
}

}  // namespace

IConfig* LoadedStore() {
    IConfig* config = CConfigSingleton::GetInstance();
    return config != nullptr && config->Load(0) != 0 ? config : nullptr;
}

std::optional<std::u16string> ReadText(IConfig& config, const char* key, std::size_t limit) {
    return Copy(WideText(config.GetString(key), WideRelease{&config}), limit);
}

std::optional<std::u16string> ProductVersion(IConfig& config) {
    return Copy(WideText(config.GetProductVersion(), WideRelease{&config}), std::u16string::npos);
}

void WriteText(IConfig& config, const char* key, const std::u16string& value) {
    if (config.Exists(key) != 0) {
        static_cast<void>(config.SetString(key, value.c_str(), kPersist));
    } else {
        static_cast<void>(config.AddString(key, value.c_str(), kPersist));
    }
}

void WriteNumber(IConfig& config, const char* key, std::uint32_t value) {
    if (config.Exists(key) != 0) {
        static_cast<void>(config.SetDword(key, value, kPersist));
    } else {
        static_cast<void>(config.AddDword(key, value, kPersist));
    }
}

}  // namespace hvx::update
