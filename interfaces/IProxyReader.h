// sabko: the proxy-settings reader (sabko.dll, libsabko.so), loaded by name at run time.
//
// The session creates a ProxySettings record, hands it to the reader to fill from the
// configuration store, and hands the filled record to venit's Util::SetCurlSessionProxySettings,
// which applies it to a transfer-engine instance. The record's layout is shared by the three
// libraries; do not reorder its fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "interfaces/IConfig.h"
#include "platform/base_types.h"

namespace hvx {

// What a reader found. Every value means "nothing set" in its initial state.
struct ProxySettings {
    // libcurl's proxy type (CURLPROXY_*): 0 HTTP, 2 HTTPS, 4 SOCKS4, 5 SOCKS5, 6 SOCKS4A,
    // 7 SOCKS5 with the proxy resolving host names.
    std::uint16_t type = 0;
    // The proxy's port; 0: the port written in `host`, else libcurl's default for the type.
    std::uint32_t port = 0;
    // libcurl's proxy authentication methods (CURLAUTH_* bits); 0: Basic, libcurl's default.
    std::uint32_t authMethods = 0;
    // Whether HTTP requests are tunnelled through the proxy with CONNECT: 1 yes, 0 no, -1
    // libcurl's own choice (tunnel for HTTPS only).
    std::int32_t tunnel = -1;
    // Host name or address of the proxy, optionally with a scheme and a port.
    std::u16string host;
    // Credentials for the proxy; none when `user` is empty.
    std::u16string user;
    std::u16string password;
    // Hosts reached without the proxy: comma-separated names, domains or addresses, "*" for all.
    std::u16string bypass;
    // The Windows domain of `user`, for NTLM; sent as "domain\user" when not empty.
    std::u16string domain;
};

static_assert(offsetof(ProxySettings, port) == 4, "the two 32-bit fields begin at offset 4");
static_assert(offsetof(ProxySettings, authMethods) == 8);
static_assert(offsetof(ProxySettings, tunnel) == 12);

// The reader. Operations in slot order; objects are made and destroyed only by the exports.
class IProxyReader {
public:
    // S_OK when a proxy is configured in `config`; HVX_E_NOT_FOUND when none is;
    // E_INVALIDARG for a null store.
    virtual HRESULT IsConfigured(IConfig* config) = 0;
    // Fills `settings` from the store. S_OK; HVX_E_NOT_FOUND (record untouched) when no proxy is
    // configured; E_INVALIDARG (record untouched) for a null argument or a stored value out of
    // range (unknown type or authentication name, port above 65535, tunnel not 0 or 1).
    virtual HRESULT ReadSettings(IConfig* config, ProxySettings* settings) = 0;

protected:
    IProxyReader() = default;
    ~IProxyReader() = default;
    IProxyReader(const IProxyReader&) = default;
    IProxyReader& operator=(const IProxyReader&) = default;
    IProxyReader(IProxyReader&&) = default;
    IProxyReader& operator=(IProxyReader&&) = default;
};

// Exports of sabko: a new reader (null when out of memory), and its release (null ignored).
using CreateProxyClassInstanceFn = IProxyReader* (*)();
using ReleaseProxyClassInstanceFn = void (*)(IProxyReader*);
inline constexpr const char16_t* kProxyModule = u"sabko.dll";
inline constexpr const char* kCreateProxySymbol = "CreateProxyClassInstance";
inline constexpr const char* kReleaseProxySymbol = "ReleaseProxyClassInstance";

}  // namespace hvx
