// hvx::CUpdateHttp::GetInstaller: the offered installer downloaded to a file and its signature
// checked by the utility library.
#include <string>

#include "clients/update/update_http.h"
#include "session/http_curl.h"
#include "siblings/venit/signature.h"
#include "siblings/venit/venit.h"
#include "support/trace_levels.h"

namespace hvx {

HRESULT CUpdateHttp::GetInstaller(const char16_t* path) {
    if (path == nullptr) {
        return E_INVALIDARG;
    }
    CHttpCurl http;
    if (const HRESULT hr = http.Init(u"GET", m_location, {}, nullptr, 0); FAILED(hr)) {
        return hr;
    }
    const HRESULT hr = http.MakeFileRequest(m_responseCode, path);
    if (FAILED(hr)) {
        trace(kTraceGeneral,
              "hvx::CUpdateHttp::GetInstaller: failed to make request, with error code: %i.",
              m_responseCode);
        return hr;
    }
    // Trust comes from the signing certificates of the configuration store.
    if (Util::VerifySignature(path, nullptr, 0, nullptr) == 0) {
        return E_FAIL;
    }
    m_installerPath = std::u16string(path).substr(0, kMaxInstallerPathLength);
    return hr;
}

}  // namespace hvx
