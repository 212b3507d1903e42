// Construction, destruction and the IHttp slot operations of hvx::CHttpCurl that only record or
// forward.
#include "session/http_curl.h"

#include <utility>

#include "platform/file.h"
#include "session/engine_entry_points.h"
#include "support/text_utils.h"

namespace hvx {

namespace {

constexpr const char16_t* kDefaultUserAgent = u"HalvexProtect/6.5.0.11255";
constexpr const char16_t* kDefaultScheme = u"https";
constexpr const char16_t* kDefaultPath = u"/";
constexpr const char16_t* kDefaultMethod = u"GET";

}  // namespace

CHttpCurl::CHttpCurl()
    : m_userAgent(kDefaultUserAgent),
      m_url{kDefaultScheme, {}, kDefaultPath},
      m_port(url::kHttpsPort),
      m_method(kDefaultMethod) {}

CHttpCurl::~CHttpCurl() {
    const ReleaseNCPClassInstanceFn release = session::EngineModule().Release();
    if (release != nullptr && m_pICurl != nullptr) {
        release(m_pICurl);
        m_pICurl = nullptr;
    }
    if (m_hFile != nullptr && m_hFile != INVALID_HANDLE_VALUE) {
        os::CloseHandle(m_hFile);
        m_hFile = nullptr;
    }
}

HRESULT CHttpCurl::Init(const char16_t* method, const char16_t* url, ShutdownCallback shutdown,
                        IConfig* config) {
    if (method == nullptr || url == nullptr) {
        return S_FALSE;
    }
    return Init(std::u16string(method), std::u16string(url), std::move(shutdown), config, 0);
}

HRESULT CHttpCurl::AddFormField(const char16_t* name, const char16_t* value) {
    if (name == nullptr || value == nullptr) {
        return S_FALSE;
    }
    return AddFormField(std::u16string(name), std::u16string(value));
}

HRESULT CHttpCurl::AddHeader(const char16_t* name, const char16_t* value) {
    // Callers never pass null; a null text is dropped rather than read.
    if (name != nullptr && value != nullptr) {
        m_headers.emplace_back(name, value);
    }
    return S_OK;
}

HRESULT CHttpCurl::SetOption(int option, std::int64_t value) {
    if (m_pICurl == nullptr) {
        return S_FALSE;
    }
    return m_pICurl->SetOption(option, value);
}

HRESULT CHttpCurl::AddRequestHeader(const char16_t* name, const char16_t* value) {
    if (name == nullptr || value == nullptr) {
        return S_FALSE;
    }
    return AddRequestHeader(std::u16string(name), std::u16string(value));
}

HRESULT CHttpCurl::AddRequestHeader(std::u16string name, std::u16string value) {
    m_headers.emplace_back(std::move(name), std::move(value));
    return S_OK;
}

std::u16string CHttpCurl::EngineErrorText() const {
    std::u16string text;
    if (m_pICurl != nullptr) {
        static_cast<void>(Utf8ToWide(m_pICurl->GetErrorBufferText(), text));
    }
    return text;
}

}  // namespace hvx
