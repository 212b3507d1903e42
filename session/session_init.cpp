// hvx::CHttpCurl::Init: binds a session to a method and a URL and prepares its engine instance.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "session/engine_entry_points.h"
#include "session/http_curl.h"
#include "shared_agent/util/cert_mgr_loader.h"
#include "siblings/venit/venit.h"
#include "support/config_keys.h"
#include "support/config_singleton.h"
#include "support/text_utils.h"
#include "support/trace_levels.h"

namespace hvx {

namespace {

constexpr const char16_t* kUserAgentPrefix = u"HalvexProtect/";
constexpr std::uint32_t kOn = 1;

// Engine options carry pointers as 64-bit numbers.
std::int64_t PointerValue(const void* pointer) {
    return static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(pointer));
}

// Hands a text back to the store that gave it.
struct StoreStringRelease {
    IConfig* config;
    void operator()(char16_t* text) const { config->FreeString(text); }
};

}  // namespace

// The URL is taken by value because the operation's signature is the session's public one.
HRESULT CHttpCurl::Init(std::u16string method,
                        std::u16string url,  // NOLINT(performance-unnecessary-value-param)
                        ShutdownCallback shutdown, IConfig* config, std::uint32_t timeoutSeconds) {
    session::EngineModule().Resolve();
    session::CacheOsVersion();
    if (!session::EngineModule().Resolved()) {
        error("HttpC: unable to get function load addresses");
        return HVX_E_ENGINE_MISSING;
    }
    if (!IsValidUrl(url)) {
        error(u"Invalid web path given to Init (or bad regex): [ %s ].", url);
        return HVX_E_URL_INVALID;
    }
    m_method = std::move(method);
    url::Split(url, m_url);
    if (const HRESULT hr = CreateEngine(); FAILED(hr)) {
        return hr;
    }
    HRESULT pending = S_OK;
    ConfigureEngine(pending);
    if (const HRESULT hr = LoadTrust(config); FAILED(hr)) {
        return hr;
    }
    ApplyUserAgent(pending);
    trace(kTraceGeneral, "hvx::CHttpCurl::Init osVersion: %d", session::CachedOsVersion());
    ApplyTlsVerification();
    InstallSslContext();
    ApplyConnectTimeout();
    ApplyEngineDiagnostics();
    m_port = url::SchemePort(m_url.scheme, m_port);
    std::u16string errorText;
    ApplyTransferTimeout(timeoutSeconds, errorText);
    if (SUCCEEDED(pending)) {
        InstallProgressCallback(errorText);
    }
    m_shutdownCallback = std::move(shutdown);
    return pending;
}

HRESULT CHttpCurl::CreateEngine() {
    // A session initialised again (the upload client's, once per upload) gives its previous
    // instance back first.
    if (m_pICurl != nullptr) {
        session::EngineModule().Release()(m_pICurl);
        m_pICurl = nullptr;
    }
    m_pICurl = session::EngineModule().Create()();
    if (m_pICurl == nullptr) {
        error("unable to get httpc instance");
        return HVX_E_NO_ENGINE_INSTANCE;
    }
    return S_OK;
}

void CHttpCurl::ConfigureEngine(HRESULT& pending) {
    const HeaderCallback header = &ParseHeader;
    if (TransferFailed(m_pICurl->Setup())) {
        pending = E_UNEXPECTED;
    }
    if (TransferFailed(
            m_pICurl->SetCallback(curlopt::kHeaderFunction, reinterpret_cast<void*>(header)))) {
        pending = E_UNEXPECTED;
    }
    if (TransferFailed(m_pICurl->SetCallbackData(curlopt::kHeaderData, this))) {
        pending = E_UNEXPECTED;
    }
}

HRESULT CHttpCurl::LoadTrust(IConfig* config) {
    IConfig* store = config != nullptr ? config : CConfigSingleton::GetInstance();
    if (store == nullptr) {
        error("hvx::CHttpCurl::Init: loader failed to get/load config");
        return HVX_E_CONFIG_UNAVAILABLE;
    }
    if (FAILED(CertMgrLoader::Init(store))) {
        error("hvx::CHttpCurl::Init: loader failed to load trusted certs");
        return HVX_E_CONFIG_UNAVAILABLE;
    }
    m_pConfig = store;
    return S_OK;
}

void CHttpCurl::ApplyUserAgent(HRESULT& pending) {
    const std::unique_ptr<char16_t, StoreStringRelease> version(m_pConfig->GetProductVersion(),
                                                                StoreStringRelease{m_pConfig});
    if (version) {
        m_userAgent = kUserAgentPrefix + std::u16string(version.get());
    }
    std::string utf8;
    if (FAILED(WideToUtf8(m_userAgent, utf8)) ||
        TransferFailed(m_pICurl->SetOption(curlopt::kUserAgent, PointerValue(utf8.c_str())))) {
        pending = E_UNEXPECTED;
    }
}

void CHttpCurl::ApplyTlsVerification() {
    std::uint32_t flags = 0;
    if (m_pConfig->GetDword2(keys::kVerifyHost) == kOn) {
        flags = kVerifyHost;
    }
    if (m_pConfig->GetDword2(keys::kVerifyPeer) == kOn) {
        flags += kVerifyPeer;
    }
    trace(kTraceTls, "hvx::CHttpCurl::Init varenssl_option: %d", flags);
    const int result = m_pICurl->SetSslVerification(flags, 0, nullptr);
    if (TransferFailed(result)) {
        error("hvx::CHttpCurl::Init res: %d, option: %d", result, flags);
    }
}

void CHttpCurl::InstallSslContext() {
    if (FAILED(CertMgrLoader::SetCurlSslContext(m_pICurl))) {
        error("hvx::CHttpCurl::InitFailed to set up curl ssl context");
    }
}

void CHttpCurl::ApplyConnectTimeout() {
    std::uint32_t timeout = m_pConfig->GetDword2(keys::kConnectTimeout);
    if (timeout == kConfigAbsent) {
        timeout = keys::kConnectTimeoutDefault;
    }
    const int result = m_pICurl->SetOption(curlopt::kConnectTimeout, timeout);
    if (TransferFailed(result)) {
        error("hvx::CHttpCurl::Init res: %d, timeout: %d", result, timeout);
    }
}

void CHttpCurl::ApplyEngineDiagnostics() {
    // Diagnostics are best effort: the engine's answers are not looked at.
    if (m_pConfig->GetDword2(keys::kCurlDebug) == kOn) {
        const DebugCallback debug = &curl_print_callback;
        static_cast<void>(m_pICurl->SetOption(curlopt::kVerbose, 1));
        static_cast<void>(m_pICurl->SetOption(curlopt::kDebugFunction,
                                              PointerValue(reinterpret_cast<const void*>(debug))));
    } else {
        static_cast<void>(m_pICurl->SetOption(curlopt::kVerbose, 0));
    }
}

void CHttpCurl::ApplyTransferTimeout(std::uint32_t timeoutSeconds, std::u16string& errorText) {
    if (timeoutSeconds == 0) {
        return;
    }
    trace(kTraceGeneral, "hvx::CHttpCurl::Init timeout: %u", timeoutSeconds);
    if (TransferFailed(m_pICurl->SetOption(curlopt::kTimeout, timeoutSeconds))) {
        errorText = EngineErrorText();
        error(u"hvx::CHttpCurl::Init: set connect timeout failed: %s", errorText);
    }
}

void CHttpCurl::InstallProgressCallback(std::u16string& errorText) {
    const ProgressCallback progress = &GetShutdownStatus;
    if (TransferFailed(
            m_pICurl->SetCallback(curlopt::kProgressFunction, reinterpret_cast<void*>(progress)))) {
        errorText = EngineErrorText();
        error("hvx::CHttpCurl::Init: set callback function failed");
    } else if (TransferFailed(m_pICurl->SetCallbackData(curlopt::kProgressData, this))) {
        errorText = EngineErrorText();
        error("hvx::CHttpCurl::Init: set callback data failed");
    } else if (TransferFailed(m_pICurl->SetOption(curlopt::kNoProgress, 0))) {
        errorText = EngineErrorText();
        error("hvx::CHttpCurl::Init: unable to enable callback");
    }
    if (!errorText.empty()) {
        error(u" http error message %s", errorText);
    }
}

}  // namespace hvx
