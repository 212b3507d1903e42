#include "siblings/sabko/proxy_names.h"

#include <curl/curl.h>

#include <algorithm>
#include <array>
#include <utility>

namespace hvx::sabko {

namespace {

constexpr std::array<std::pair<std::string_view, std::uint16_t>, 6> kTypes = {{
    {"http", CURLPROXY_HTTP},
    {"https", CURLPROXY_HTTPS},
    {"socks4", CURLPROXY_SOCKS4},
    {"socks4a", CURLPROXY_SOCKS4A},
    {"socks5", CURLPROXY_SOCKS5},
    {"socks5h", CURLPROXY_SOCKS5_HOSTNAME},
}};

constexpr std::array<std::pair<std::string_view, std::uint32_t>, 5> kAuthMethods = {{
    {"basic", static_cast<std::uint32_t>(CURLAUTH_BASIC)},
    {"digest", static_cast<std::uint32_t>(CURLAUTH_DIGEST)},
    {"ntlm", static_cast<std::uint32_t>(CURLAUTH_NTLM)},
    {"negotiate", static_cast<std::uint32_t>(CURLAUTH_NEGOTIATE)},
    {"any", static_cast<std::uint32_t>(CURLAUTH_ANY)},
}};

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return std::ranges::equal(a, b, [&](char x, char y) { return lower(x) == lower(y); });
}

template <typename Table>
auto Lookup(const Table& table, std::string_view name)
    -> std::optional<typename Table::value_type::second_type> {
    for (const auto& [entry, value] : table) {
        if (EqualIgnoringCase(entry, name)) {
            return value;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::uint16_t> ProxyTypeFromName(std::string_view name) {
    return Lookup(kTypes, name);
}

std::optional<std::uint32_t> AuthMethodsFromName(std::string_view name) {
    return Lookup(kAuthMethods, name);
}

}  // namespace hvx::sabko
