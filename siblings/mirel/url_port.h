// Whether a URL names its own port, which then wins over the caller's CURLOPT_PORT.
#pragma once

#include <string>

namespace hvx::mirel {

// True when the URL carries a port ("http://host:8080/"); false when it names none or cannot be
// parsed (libcurl then refuses the URL itself).
bool UrlNamesPort(const std::string& url);

}  // namespace hvx::mirel
