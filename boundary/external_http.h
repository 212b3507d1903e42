// hvx::CExternalHttp: the IHttp facade that GetIHttp hands out. It owns one session, made with
// it and destroyed with it, and passes every operation on to it; the only check of its own is
// the null test of MakeFileRequest, made before the session is touched.
//
// Its virtual destructor comes after the six IHttp operations, as the seventh slot, which is
// what ReleaseIHTTP relies on.
#pragma once

#include <cstdint>
#include <memory>

#include "interfaces/IHttp.h"
#include "session/http_curl.h"

namespace hvx {

class CExternalHttp : public IHttp {
public:
    CExternalHttp();
    virtual ~CExternalHttp();
    CExternalHttp(const CExternalHttp&) = delete;
    CExternalHttp& operator=(const CExternalHttp&) = delete;
    CExternalHttp(CExternalHttp&&) = delete;
    CExternalHttp& operator=(CExternalHttp&&) = delete;

    HRESULT Init(const char16_t* method, const char16_t* url, ShutdownCallback shutdown,
                 IConfig* config) override;
    HRESULT AddFormField(const char16_t* name, const char16_t* value) override;
    HRESULT MakeRequest(std::uint32_t* status, std::uint32_t* size, char* buffer) override;
    // HVX_E_INVALID_PARAMETER when `status` or `path` is null; else the session's result, with
    // the status it read stored in `status`.
    HRESULT MakeFileRequest(std::uint32_t* status, const char16_t* path) override;
    HRESULT AddHeader(const char16_t* name, const char16_t* value) override;
    HRESULT SetOption(int option, std::int64_t value) override;

    // The owned session, for tests.
    const CHttpCurl& Session() const { return *m_pHttp; }

private:
    std::unique_ptr<CHttpCurl> m_pHttp;
};

}  // namespace hvx
