// Whether a URL names its own port, which then wins over the caller's CURLOPT_PORT.
#pragma once

#include <string>
#include <string_view>

namespace hvx::mirel {

// True when the URL carries a port ("http://host:8080/"); false when it names none or cannot be
// parsed (libcurl then refuses the URL itself).
bool UrlNamesPort(const std::string& url);

// True when `port` is the port of the URL's scheme ("https://" and 443, "http://" and 80, the
// scheme in any case): a URL without a port goes there anyway, so whether it names one does not
// matter.
bool IsSchemePort(std::string_view url, long port);

}  // namespace hvx::mirel
