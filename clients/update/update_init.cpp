// hvx::CUpdateHttp::Init: the conditional fetch of the seed document.
#include <optional>
#include <string>
#include <string_view>

#include "clients/update/store_access.h"
#include "clients/update/update_http.h"
#include "session/http_curl.h"
#include "session/http_status.h"
#include "siblings/venit/venit.h"
#include "support/config_keys.h"
#include "support/trace_levels.h"

namespace hvx {

HRESULT CUpdateHttp::Init() {
    IConfig* config = update::LoadedStore();
    if (config == nullptr) {
        error("failed to load config");
        return S_OK;
    }
    if (const auto guid = update::ReadText(*config, keys::kAgentUuid, kMaxAgentGuidLength)) {
        m_agentGuid = *guid;
    }
    return FetchSeed(*config, SeedUrl(*config));
}

std::u16string CUpdateHttp::SeedUrl(IConfig& config) {
    const auto protocol = update::ReadText(config, keys::kUpdaterProtocol);
    const auto server = update::ReadText(config, keys::kUpdaterServer);
    const auto path = update::ReadText(config, keys::kUpdaterPath);
    if (!protocol || !server || !path) {
        return {};
    }
    return (*protocol + u"://" + *server + *path).substr(0, kMaxSeedUrlLength);
}

HRESULT CUpdateHttp::FetchSeed(IConfig& config, const std::u16string& url) {
    CHttpCurl http;
    if (const HRESULT hr = http.Init(u"GET", url, {}, nullptr, 0); FAILED(hr)) {
        return hr;
    }
    // An empty stored value is sent too: the server decides what it means.
    if (const auto stored = update::ReadText(config, keys::kUpdaterLastModified)) {
        m_lastMod = *stored;
        http.AddHeader(u"If-Modified-Since", m_lastMod.c_str());
    }
    const HRESULT hr = http.MakeRequestToString(m_responseCode, m_seed);
    if (FAILED(hr)) {
        trace(kTraceGeneral, "hvx::CUpdateHttp::Initfailed to make request, error code: %i",
              m_responseCode);
        return hr;
    }
    if (m_responseCode == http::kNotModified) {
        return E_FAIL;
    }
    // The session keeps the header line's end with the value; the store keeps the date alone.
    std::u16string_view received(http.LastModified());
    while (!received.empty() && (received.back() == u'\r' || received.back() == u'\n')) {
        received.remove_suffix(1);
    }
    if (received.empty()) {
        m_lastMod.clear();
        error("hvx::CUpdateHttp::Initfailed to get lastmod %i", HVX_E_NO_LAST_MODIFIED);
    } else {
        m_lastMod = received;
    }
    return S_OK;
}

}  // namespace hvx
