// hvx::CProductInventoryHttp::SendData: one report, POSTed as a form with a session of its own.
#include <cstdint>
#include <string>

#include "clients/inventory/product_inventory_http.h"
#include "platform/bstr.h"
#include "session/http_curl.h"
#include "siblings/venit/venit.h"
#include "support/text_utils.h"

namespace hvx {

HRESULT CProductInventoryHttp::SendData(std::uint32_t kind, const char16_t* data,
                                        std::uint32_t* status, BSTR* response) {
    if (data == nullptr || status == nullptr || response == nullptr) {
        return S_FALSE;
    }
    CHttpCurl http;
    std::u16string endpoint;
    std::u16string fieldName;
    if (const HRESULT hr = GetEndpoint(kind, endpoint, fieldName); FAILED(hr)) {
        return hr;
    }
    if (const HRESULT hr = http.Init(u"POST", endpoint, {}, nullptr, 0); FAILED(hr)) {
        error("hvx::CProductInventoryHttp::SendData : http.Init failed [hr: 0x%x]", hr);
        return hr;
    }
    // Each field is kept even when its encoding fails: the body then lacks only that value.
    static_cast<void>(http.AddFormField(u"ag", m_agentGuid));
    static_cast<void>(http.AddFormField(u"bg", m_businessGuid));
    static_cast<void>(http.AddFormField(u"user_lang_id", m_userLangId));
    static_cast<void>(http.AddFormField(fieldName, std::u16string(data)));
    std::uint32_t received = 0;
    std::string answer;
    HRESULT hr = http.MakeRequestToString(received, answer);
    std::u16string wide;
    if (SUCCEEDED(hr) && !answer.empty()) {
        hr = Utf8ToWide(answer, wide);
    }
    if (FAILED(hr)) {
        error("hvx::CProductInventoryHttp::SendData : http.MakeRequest failed [hr: 0x%x]", hr);
        return hr;
    }
    *status = received;
    *response = os::SysAllocString(wide.c_str());
    return hr;
}

}  // namespace hvx
