// The names the configuration uses for proxy types and authentication methods, and the libcurl
// values they stand for.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace hvx::sabko {

// CURLPROXY_* of a type name (letter case ignored); nullopt for an unknown name.
std::optional<std::uint16_t> ProxyTypeFromName(std::string_view name);
// CURLAUTH_* bits of an authentication name (letter case ignored); nullopt for an unknown name.
std::optional<std::uint32_t> AuthMethodsFromName(std::string_view name);

}  // namespace hvx::sabko
