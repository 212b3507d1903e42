// hvx::CHttpCurl::SetProxySettings: the proxy of the configuration, applied to the session's
// engine instance before each transfer.
#include <cstdint>
#include <memory>

#include "interfaces/IProxyReader.h"
#include "session/http_curl.h"
#include "siblings/venit/session_proxy.h"
#include "siblings/venit/venit.h"
#include "support/module_entry_points.h"
#include "support/trace_levels.h"

namespace hvx {

namespace {

using ProxyEntryPoints = ModuleEntryPoints<CreateProxyClassInstanceFn, ReleaseProxyClassInstanceFn>;
constinit ProxyEntryPoints g_proxyModule(kProxyModule, kCreateProxySymbol, kReleaseProxySymbol);

struct ProxyReaderRelease {
    void operator()(IProxyReader* reader) const { g_proxyModule.Release()(reader); }
};
using ProxyReaderPtr = std::unique_ptr<IProxyReader, ProxyReaderRelease>;

// A new reader from sabko, or null when sabko or its entry points are missing.
ProxyReaderPtr CreateProxyReader() {
    g_proxyModule.Resolve();
    if (!g_proxyModule.Resolved()) {
        return nullptr;
    }
    return ProxyReaderPtr(g_proxyModule.Create()());
}

// Logs show the pointers as the 32-bit numbers "0x%x" reads.
std::uintptr_t Address(const void* pointer) {
    return reinterpret_cast<std::uintptr_t>(pointer);
}

}  // namespace

HRESULT CHttpCurl::SetProxySettings() {
    const ProxyReaderPtr reader = CreateProxyReader();
    ProxySettings settings;
    if (m_pICurl == nullptr || !reader) {
        error("hvx::CHttpCurl::SetProxySettings m_pICurl: 0x%x, pProxy: 0x%x is NULL",
              Address(m_pICurl), Address(reader.get()));
        return E_FAIL;
    }
    if (m_pConfig == nullptr) {
        error(
            "hvx::CHttpCurl::SetProxySettings: Init() needs to be called prior in order to "
            "initialize IConfig member");
        return E_FAIL;
    }
    HRESULT hr = reader->ReadSettings(m_pConfig, &settings);
    if (hr == HVX_E_NOT_FOUND) {
        return S_OK;
    }
    if (FAILED(hr)) {
        error("hvx::CHttpCurl::SetProxySettings unable to read proxy settings from config");
        return hr;
    }
    hr = Util::SetCurlSessionProxySettings(m_pICurl, settings);
    if (FAILED(hr)) {
        trace(kTraceGeneral,
              "hvx::CHttpCurl::SetProxySettings unable to set proxy settings for current session");
    }
    return hr;
}

}  // namespace hvx
