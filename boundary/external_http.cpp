#include "boundary/external_http.h"

#include <utility>

namespace hvx {

CExternalHttp::CExternalHttp() : m_pHttp(std::make_unique<CHttpCurl>()) {}

CExternalHttp::~CExternalHttp() = default;

HRESULT CExternalHttp::Init(const char16_t* method, const char16_t* url, ShutdownCallback shutdown,
                            IConfig* config) {
    return m_pHttp->Init(method, url, std::move(shutdown), config);
}

HRESULT CExternalHttp::AddFormField(const char16_t* name, const char16_t* value) {
    return m_pHttp->AddFormField(name, value);
}

HRESULT CExternalHttp::MakeRequest(std::uint32_t* status, std::uint32_t* size, char* buffer) {
    return m_pHttp->MakeRequest(status, size, buffer);
}

HRESULT CExternalHttp::MakeFileRequest(std::uint32_t* status, const char16_t* path) {
    if (status == nullptr || path == nullptr) {
        return HVX_E_INVALID_PARAMETER;
    }
    return m_pHttp->MakeFileRequest(*status, std::u16string(path));
}

HRESULT CExternalHttp::AddHeader(const char16_t* name, const char16_t* value) {
    return m_pHttp->AddHeader(name, value);
}

HRESULT CExternalHttp::SetOption(int option, std::int64_t value) {
    return m_pHttp->SetOption(option, value);
}

}  // namespace hvx
