// hvx::CHttpCurl::GetResponse: turns the HTTP status of the last transfer into a result code,
// reading the server's JSON error body for 4xx and 5xx answers.
#include <array>
#include <cstdint>
#include <string>

#include "session/http_curl.h"
#include "session/http_status.h"
#include "session/request_buffers.h"
#include "siblings/venit/venit.h"
#include "support/trace_levels.h"

namespace hvx {

HRESULT CHttpCurl::GetResponse(std::uint32_t& status) {
    if (m_pICurl == nullptr) {
        return E_FAIL;
    }
    const int outcome = m_pICurl->GetResponseCode(&status);
    if (TransferFailed(outcome)) {
        error("hvx::CHttpCurl::GetResponse unable to retrieve response code, ret: %d", outcome);
        return E_FAIL;
    }
    if (http::IsSuccess(status)) {
        return S_OK;
    }
    if (status == http::kNotModified) {
        trace(kTraceGeneral, "Response: 304/HTTP_STATUS_NOT_MODIFIED");
        return S_OK;
    }
    if (status == http::kUseProxy) {
        trace(kTraceGeneral, "Response: 305/HTTP_STATUS_USE_PROXY.");
        return S_OK;
    }
    if (http::IsError(status)) {
        return MapErrorStatus(status);
    }
    error("hvx::CHttpCurl::GetResponse : Received an unhandled http response: %d", status);
    return E_FAIL;
}

HRESULT CHttpCurl::MapErrorStatus(std::uint32_t status) {
    // Read once: an error text that fills the whole buffer is not parsed.
    std::array<char, kBodyPartSize> bytes{};
    std::uint32_t count = 0;
    if (TransferFailed(m_pICurl->ReadBody(bytes.data(), kBodyPartSize, &count))) {
        return S_OK;
    }
    HRESULT result = HVX_E_HTTP_ERROR_STATUS;
    if (count != 0 && count != kBodyPartSize) {
        HRESULT code = S_OK;
        std::u16string detail;
        if (SUCCEEDED(ParseErrorBody(bytes.data(), count, code, detail))) {
            result = code;
            trace(kTraceGeneral, u"received 0x%08x, %s", code, detail);
            m_errorText = detail;
        }
    }
    trace(kTraceGeneral, "received 0x%08x, %d", result, status);
    return result;
}

}  // namespace hvx
