#include "siblings/venit/session_proxy.h"

#include <curl/curl.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "siblings/venit/util.h"
#include "siblings/venit/venit.h"

namespace Util {

namespace {

// One option of the record, ready for the engine: a number, or UTF-8 text that must outlive the
// call (libcurl copies text options when they are set).
class ProxyOption {
public:
    ProxyOption(CURLoption id, std::int64_t number) : m_id(id), m_number(number) {}
    ProxyOption(CURLoption id, std::string text)
        : m_id(id), m_text(std::move(text)), m_isText(true) {}

    [[nodiscard]] int Apply(hvx::ITransferEngine& engine) const {
        const std::int64_t value =
            m_isText ? static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(m_text.c_str()))
                     : m_number;
        return engine.SetOption(static_cast<int>(m_id), value);
    }
    [[nodiscard]] CURLoption Id() const { return m_id; }

private:
    CURLoption m_id;
    std::int64_t m_number = 0;
    std::string m_text;
    bool m_isText = false;
};

// UTF-8 of the text; false for text that is not valid UTF-16.
[[nodiscard]] bool ToUtf8(const std::u16string& wide, std::string& utf8) {
    const UniqueMem<char> converted(ConvertWCHARToString(wide.c_str()));
    if (!converted) {
        return false;
    }
    utf8.assign(converted.get());
    return true;
}

[[nodiscard]] bool AddText(std::vector<ProxyOption>& options, CURLoption id,
                           const std::u16string& wide) {
    std::string utf8;
    if (!ToUtf8(wide, utf8)) {
        return false;
    }
    options.emplace_back(id, std::move(utf8));
    return true;
}

[[nodiscard]] bool AddCredentials(std::vector<ProxyOption>& options,
                                  const hvx::ProxySettings& settings) {
    if (settings.user.empty()) {
        return true;
    }
    const std::u16string user =
        settings.domain.empty() ? settings.user : settings.domain + u"\\" + settings.user;
    return AddText(options, CURLOPT_PROXYUSERNAME, user) &&
           AddText(options, CURLOPT_PROXYPASSWORD, settings.password);
}

// Every option the record asks for, in the order they are set; false when a text is not valid
// UTF-16.
[[nodiscard]] bool CollectOptions(const hvx::ProxySettings& settings,
                                  std::vector<ProxyOption>& options) {
    if (!AddText(options, CURLOPT_PROXY, settings.host)) {
        return false;
    }
    if (settings.port != 0) {
        options.emplace_back(CURLOPT_PROXYPORT, settings.port);
    }
    options.emplace_back(CURLOPT_PROXYTYPE, settings.type);
    if (!AddCredentials(options, settings)) {
        return false;
    }
    if (settings.authMethods != 0) {
        options.emplace_back(CURLOPT_PROXYAUTH, settings.authMethods);
    }
    if (settings.tunnel == 0 || settings.tunnel == 1) {
        options.emplace_back(CURLOPT_HTTPPROXYTUNNEL, settings.tunnel);
    }
    return settings.bypass.empty() || AddText(options, CURLOPT_NOPROXY, settings.bypass);
}

}  // namespace

HRESULT SetCurlSessionProxySettings(hvx::ITransferEngine* engine,
                                    const hvx::ProxySettings& settings) {
    if (engine == nullptr || settings.host.empty()) {
        return E_INVALIDARG;
    }
    std::vector<ProxyOption> options;
    if (!CollectOptions(settings, options)) {
        error(
            "Util::SetCurlSessionProxySettings: proxy settings hold text that is not valid UTF-16");
        return E_INVALIDARG;
    }
    for (const ProxyOption& option : options) {
        const int result = option.Apply(*engine);
        if (hvx::TransferFailed(result)) {
            error("Util::SetCurlSessionProxySettings: option %d refused, result: %d",
                  static_cast<int>(option.Id()), result);
            return E_FAIL;
        }
    }
    return S_OK;
}

}  // namespace Util
