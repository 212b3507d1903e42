#include "siblings/sabko/proxy_reader.h"

#include <optional>
#include <string>

#include "interfaces/hvx_types.h"
#include "siblings/sabko/config_text.h"
#include "siblings/sabko/proxy_keys.h"
#include "siblings/sabko/proxy_names.h"
#include "siblings/venit/venit.h"

namespace hvx::sabko {

namespace {

constexpr std::uint32_t kHighestPort = 65535;

// The optional numbers of the record, read and checked.
struct Numbers {
    std::uint16_t type = 0;
    std::uint32_t port = 0;
    std::uint32_t authMethods = 0;
    std::int32_t tunnel = -1;
};

[[nodiscard]] HRESULT ReadType(IConfig& config, Numbers& numbers) {
    const std::optional<std::string> name = ReadNarrow(config, proxy_keys::kType);
    if (!name || name->empty()) {
        return S_OK;
    }
    const auto type = ProxyTypeFromName(*name);
    if (!type) {
        error("sabko: unknown proxy type \"%s\" under %s", *name, proxy_keys::kType);
        return E_INVALIDARG;
    }
    numbers.type = *type;
    return S_OK;
}

[[nodiscard]] HRESULT ReadAuth(IConfig& config, Numbers& numbers) {
    const std::optional<std::string> name = ReadNarrow(config, proxy_keys::kAuth);
    if (!name || name->empty()) {
        return S_OK;
    }
    const auto methods = AuthMethodsFromName(*name);
    if (!methods) {
        error("sabko: unknown proxy authentication \"%s\" under %s", *name, proxy_keys::kAuth);
        return E_INVALIDARG;
    }
    numbers.authMethods = *methods;
    return S_OK;
}

[[nodiscard]] HRESULT ReadPortAndTunnel(IConfig& config, Numbers& numbers) {
    const std::uint32_t port = config.GetDword(proxy_keys::kPort);
    if (port != kConfigAbsent) {
        if (port == 0 || port > kHighestPort) {
            error("sabko: proxy port %u under %s is out of range", port, proxy_keys::kPort);
            return E_INVALIDARG;
        }
        numbers.port = port;
    }
    const std::uint32_t tunnel = config.GetDword(proxy_keys::kTunnel);
    if (tunnel != kConfigAbsent) {
        if (tunnel > 1) {
            error("sabko: proxy tunnel %u under %s is neither 0 nor 1", tunnel,
                  proxy_keys::kTunnel);
            return E_INVALIDARG;
        }
        numbers.tunnel = static_cast<std::int32_t>(tunnel);
    }
    return S_OK;
}

[[nodiscard]] HRESULT ReadNumbers(IConfig& config, Numbers& numbers) {
    HRESULT hr = ReadType(config, numbers);
    if (SUCCEEDED(hr)) {
        hr = ReadAuth(config, numbers);
    }
    if (SUCCEEDED(hr)) {
        hr = ReadPortAndTunnel(config, numbers);
    }
    return hr;
}

std::u16string WideOrEmpty(IConfig& config, const char* key) {
    return ReadWide(config, key).value_or(std::u16string());
}

}  // namespace

HRESULT CProxyReader::IsConfigured(IConfig* config) {
    if (config == nullptr) {
        return E_INVALIDARG;
    }
    return WideOrEmpty(*config, proxy_keys::kHost).empty() ? HVX_E_NOT_FOUND : S_OK;
}

HRESULT CProxyReader::ReadSettings(IConfig* config, ProxySettings* settings) {
    if (config == nullptr || settings == nullptr) {
        return E_INVALIDARG;
    }
    std::u16string host = WideOrEmpty(*config, proxy_keys::kHost);
    if (host.empty()) {
        return HVX_E_NOT_FOUND;
    }
    Numbers numbers;
    if (const HRESULT hr = ReadNumbers(*config, numbers); FAILED(hr)) {
        return hr;
    }
    settings->type = numbers.type;
    settings->port = numbers.port;
    settings->authMethods = numbers.authMethods;
    settings->tunnel = numbers.tunnel;
    settings->host = std::move(host);
    settings->user = WideOrEmpty(*config, proxy_keys::kUser);
    settings->password = WideOrEmpty(*config, proxy_keys::kPassword);
    settings->bypass = WideOrEmpty(*config, proxy_keys::kBypass);
    settings->domain = WideOrEmpty(*config, proxy_keys::kDomain);
    return S_OK;
}

}  // namespace hvx::sabko
