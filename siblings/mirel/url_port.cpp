#include "siblings/mirel/url_port.h"

#include "siblings/mirel/curl_handles.h"

namespace hvx::mirel {

bool UrlNamesPort(const std::string& url) {
    const UrlPtr parsed(curl_url());
    if (!parsed || curl_url_set(parsed.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) {
        return false;
    }
    char* port = nullptr;
    // Without CURLU_DEFAULT_PORT libcurl gives a port only when the URL writes one.
    const bool named = curl_url_get(parsed.get(), CURLUPART_PORT, &port, 0) == CURLUE_OK;
    curl_free(port);
    return named;
}

}  // namespace hvx::mirel
