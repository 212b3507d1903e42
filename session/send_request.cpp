// hvx::CHttpCurl::SendRequest: composes the URL, headers and body of the session's request and
// performs the transfer through the engine.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "session/http_curl.h"
#include "session/request_buffers.h"
#include "session/trace_excerpt.h"
#include "siblings/venit/venit.h"
#include "support/text_utils.h"
#include "support/trace_levels.h"

namespace hvx {

namespace {

constexpr std::u16string_view kGet = u"GET";
constexpr std::u16string_view kPost = u"POST";
constexpr std::u16string_view kPut = u"PUT";
constexpr const char* kNoEngine = "m_pICurl is NULL";

}  // namespace

HRESULT CHttpCurl::SendRequest() {
    if (m_url.host.empty() || m_pICurl == nullptr) {
        return E_FAIL;
    }
    std::u16string errorText;
    m_port = url::SchemePort(m_url.scheme, m_port);
    const int portOutcome = m_pICurl->SetOption(curlopt::kPort, m_port);
    if (TransferFailed(portOutcome)) {
        errorText = EngineErrorText();
    }
    const HRESULT proxy = SetProxySettings();
    if (FAILED(proxy)) {
        error("hvx::CHttpCurl::SendRequest: unable to set proxy settings");
        return proxy;
    }
    ApplyHeaders();
    const std::string form = BuildFormBody();
    MultipartBody multipart;
    // Only the length decides: a builder that failed leaves it at 0 and the form text goes out.
    static_cast<void>(PrepareMultipartBody(multipart));
    const bool isMultipart = multipart.length != 0;
    const char* body = isMultipart ? multipart.bytes : form.data();
    const auto length = isMultipart ? multipart.length : static_cast<std::uint32_t>(form.size());

    const int outcome = PerformTransfer(url::Join(m_url), body, length, portOutcome);
    HRESULT result = proxy;
    if (TransferFailed(outcome)) {
        errorText = EngineErrorText();
        result = HVX_E_TRANSFER_FAILED;
        error(
            u"hvx::CHttpCurl::SendRequest  sending remote request(%s): %s://%s%s, status: 0x%x. "
            u"msg: %s / %hs",
            m_method, m_url.scheme, m_url.host, m_url.path, outcome, errorText, EngineLastError());
    }
    ReleaseMultipartBody(multipart);
    trace(kTraceGeneral,
          u"CHttpCurl::SendRequest remote request(%s): %s://%s%s, status: 0x%x. msg: %s / %hs",
          m_method, m_url.scheme, m_url.host, m_url.path, result, errorText, EngineLastError());
    return result;
}

int CHttpCurl::PerformTransfer(const std::u16string& url, const char* body, std::uint32_t length,
                               int portOutcome) {
    if (m_method == kGet) {
        return m_pICurl->Get(url.c_str());
    }
    if (m_method == kPost) {
        if (IsPostContentLoggable()) {
            // The first bytes and the length: a multipart body carries whole files.
            trace(kTraceGeneral, "hvx::CHttpCurl::SendRequest post content (%u bytes): %s", length,
                  session::TraceExcerpt(std::string_view(body, length)));
        }
        return m_pICurl->Post(url.c_str(), body, length);
    }
    if (m_method == kPut) {
        return m_pICurl->Put(url.c_str(), nullptr, 0);
    }
    return portOutcome;
}

const char* CHttpCurl::EngineLastError() const {
    return m_pICurl != nullptr ? m_pICurl->GetLastErrorText() : kNoEngine;
}

}  // namespace hvx
