// A session's URL in the three parts it keeps (scheme, host with any port, path), and the port
// a scheme implies. The URL has already passed the validator when it is split.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace hvx::url {

inline constexpr std::uint16_t kHttpsPort = 443;
inline constexpr std::uint16_t kHttpPort = 80;

struct Parts {
    std::u16string scheme;
    std::u16string host;  // with ":port" when the URL writes one
    std::u16string path;  // from the first '/' after the host
};

// Splits "scheme://host/path" into `parts`. What the URL lacks keeps its value in `parts`: without
// "://" nothing changes, and without a '/' after the host only the scheme is taken.
void Split(std::u16string_view url, Parts& parts);
// scheme + "://" + host + path.
std::u16string Join(const Parts& parts);
// 443 for "https", 80 for "http", else `port` unchanged.
std::uint16_t SchemePort(std::u16string_view scheme, std::uint16_t port);

}  // namespace hvx::url
