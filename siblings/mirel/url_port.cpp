#include "siblings/mirel/url_port.h"

#include <algorithm>
#include <array>

#include "siblings/mirel/curl_handles.h"

namespace hvx::mirel {
namespace {

struct SchemePort {
    std::string_view prefix;
    long port;
};
constexpr std::array kSchemePorts = {SchemePort{"https://", 443}, SchemePort{"http://", 80}};

// ASCII letters only, whatever the locale.
char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithLower(std::string_view text, std::string_view lowerPrefix) {
    return text.size() >= lowerPrefix.size() &&
           std::equal(lowerPrefix.begin(), lowerPrefix.end(), text.begin(),
                      [](char p, char t) { return p == Lower(t); });
}

}  // namespace

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

bool IsSchemePort(std::string_view url, long port) {
    return std::ranges::any_of(kSchemePorts, [&](const SchemePort& scheme) {
        return scheme.port == port && StartsWithLower(url, scheme.prefix);
    });
}

}  // namespace hvx::mirel
