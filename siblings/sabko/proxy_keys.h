// The configuration keys sabko reads, all under "config/conn/proxy/". A proxy is configured when
// "host" holds non-empty text; every other key is optional.
#pragma once

namespace hvx::proxy_keys {

// Text: "http" (the default), "https", "socks4", "socks4a", "socks5" or "socks5h".
inline constexpr const char* kType = "config/conn/proxy/type";
// Wide text: the proxy's host name or address.
inline constexpr const char* kHost = "config/conn/proxy/host";
// Number: the proxy's port, 1 to 65535.
inline constexpr const char* kPort = "config/conn/proxy/port";
// Wide text: credentials for the proxy.
inline constexpr const char* kUser = "config/conn/proxy/user";
inline constexpr const char* kPassword = "config/conn/proxy/password";
// Wide text: the user's Windows domain (NTLM).
inline constexpr const char* kDomain = "config/conn/proxy/domain";
// Wide text: comma-separated hosts that are reached without the proxy.
inline constexpr const char* kBypass = "config/conn/proxy/bypass";
// Text: "basic" (the default), "digest", "ntlm", "negotiate" or "any".
inline constexpr const char* kAuth = "config/conn/proxy/auth";
// Number: 1 tunnels every request through the proxy with CONNECT, 0 only HTTPS.
inline constexpr const char* kTunnel = "config/conn/proxy/tunnel";

}  // namespace hvx::proxy_keys
