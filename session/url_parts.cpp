#include "session/url_parts.h"

namespace hvx::url {

namespace {

constexpr std::u16string_view kSchemeSeparator = u"://";
constexpr std::u16string_view kHttps = u"https";
constexpr std::u16string_view kHttp = u"http";

}  // namespace

void Split(std::u16string_view url, Parts& parts) {
    const std::size_t separator = url.find(kSchemeSeparator);
    if (separator == std::u16string_view::npos) {
        return;
    }
    parts.scheme = url.substr(0, separator);
    const std::size_t hostStart = separator + kSchemeSeparator.size();
    const std::size_t slash = url.find(u'/', hostStart);
    if (slash == std::u16string_view::npos) {
        return;
    }
    parts.host = url.substr(hostStart, slash - hostStart);
    parts.path = url.substr(slash);
}

std::u16string Join(const Parts& parts) {
    std::u16string joined;
    joined.reserve(parts.scheme.size() + kSchemeSeparator.size() + parts.host.size() +
                   parts.path.size());
    joined.append(parts.scheme).append(kSchemeSeparator).append(parts.host).append(parts.path);
    return joined;
}

std::uint16_t SchemePort(std::u16string_view scheme, std::uint16_t port) {
    if (scheme == kHttps) {
        return kHttpsPort;
    }
    if (scheme == kHttp) {
        return kHttpPort;
    }
    return port;
}

}  // namespace hvx::url
