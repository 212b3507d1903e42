// IHttp: the generic request interface, handed out by GetIHttp (a facade that owns a session)
// and, as IHttpSession, by GetHttpC (a bare session). The virtual operations are in the slot
// order callers rely on; do not reorder them. Objects are destroyed only through the release
// export of the factory that made them.
#pragma once

#include <cstdint>

#include "interfaces/IConfig.h"
#include "interfaces/hvx_types.h"

namespace hvx {

class IHttp {
public:
    // Binds the object to a method ("GET", "POST" or "PUT") and a URL, and reads its settings
    // from `config` (null: the process-wide store). S_FALSE when method or url is null; else
    // 0, HVX_E_ENGINE_MISSING, HVX_E_URL_INVALID, HVX_E_NO_ENGINE_INSTANCE,
    // HVX_E_CONFIG_UNAVAILABLE or E_UNEXPECTED.
    virtual HRESULT Init(const char16_t* method, const char16_t* url, ShutdownCallback shutdown,
                         IConfig* config) = 0;
    // Adds a percent-encoded form field. S_FALSE when either text is null.
    virtual HRESULT AddFormField(const char16_t* name, const char16_t* value) = 0;
    // Runs the request. `buffer` (may be null) receives the body and a zero byte; `size` is
    // its capacity on entry and the body length on return. HVX_E_INSUFFICIENT_BUFFER when the
    // body and its zero byte do not fit. `status` and `size` must not be null.
    virtual HRESULT MakeRequest(std::uint32_t* status, std::uint32_t* size, char* buffer) = 0;
    // Runs the request and stores the body in the file at `path` (created or overwritten, opened
    // without sharing). 0 when the answer was taken: `status` holds it, and the file the body,
    // except after a 304, which leaves no file. Else the file is deleted and the result is
    // HRESULT_FROM_WIN32 of a file error (the file could not be created; `status` untouched),
    // HVX_E_TRANSFER_FAILED (also when the body could not be written, or the shutdown callable
    // stopped the transfer), or the result of the status (a 4xx or 5xx answer gives
    // HVX_E_HTTP_ERROR_STATUS: its body went to the file, not to the error-body reader).
    // HVX_E_INVALID_PARAMETER when `status` or `path` is null, before anything else is done.
    virtual HRESULT MakeFileRequest(std::uint32_t* status, const char16_t* path) = 0;
    // Adds a request header; neither text may be null. Always 0.
    virtual HRESULT AddHeader(const char16_t* name, const char16_t* value) = 0;
    // Sets a transfer-engine option (a libcurl option id and value) and returns the engine's
    // raw result; S_FALSE before Init.
    virtual HRESULT SetOption(int option, std::int64_t value) = 0;

protected:
    IHttp() = default;
    ~IHttp() = default;
    IHttp(const IHttp&) = default;
    IHttp& operator=(const IHttp&) = default;
    IHttp(IHttp&&) = default;
    IHttp& operator=(IHttp&&) = default;
};

// The bare session of GetHttpC: the six IHttp operations and the session's own seventh.
class IHttpSession : public IHttp {
public:
    // Adds a request header. S_FALSE when either text is null, else 0.
    virtual HRESULT AddRequestHeader(const char16_t* name, const char16_t* value) = 0;

protected:
    IHttpSession() = default;
    ~IHttpSession() = default;
    IHttpSession(const IHttpSession&) = default;
    IHttpSession& operator=(const IHttpSession&) = default;
    IHttpSession(IHttpSession&&) = default;
    IHttpSession& operator=(IHttpSession&&) = default;
};

}  // namespace hvx
