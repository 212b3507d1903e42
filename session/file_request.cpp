// hvx::CHttpCurl::MakeFileRequest: runs the session's request with the response body going
// straight to a file through the write callback, never through memory.
//
// The file is opened without sharing, so nobody reads a half-written download; whenever the
// download does not end in an answer worth keeping (a failed transfer, a status GetResponse
// refuses, a 304 that carries no body) the file is deleted again.
#include <cstdint>
#include <string>
#include <utility>

#include "platform/file.h"
#include "platform/last_error.h"
#include "session/http_curl.h"
#include "session/http_status.h"
#include "session/transfer_limits.h"
#include "siblings/venit/venit.h"
#include "support/trace_levels.h"

namespace hvx {

namespace {

// Nobody else may open the file while the body is written into it.
constexpr DWORD kNoSharing = 0;

void DeleteTargetFile(const std::u16string& path, HRESULT result) {
    if (!os::DeleteFileW(path.c_str())) {
        error(u"hvx::CHttpCurl::MakeFileRequest unable to delete file: %s. download failed: 0x%x",
              path, result);
    }
}

}  // namespace

HRESULT CHttpCurl::MakeFileRequest(std::uint32_t* status, const char16_t* path) {
    if (status == nullptr || path == nullptr) {
        return HVX_E_INVALID_PARAMETER;
    }
    return MakeFileRequest(*status, std::u16string(path));
}

// NOLINTNEXTLINE(performance-unnecessary-value-param): the session's texts are taken by value.
HRESULT CHttpCurl::MakeFileRequest(std::uint32_t& status, std::u16string path) {
    std::u16string errorText;
    InstallWriteCallback(errorText);
    HRESULT hr = session::ApplyTransferLimits(m_pICurl, session::StreamLimits(m_pConfig));
    if (SUCCEEDED(hr)) {
        hr = CreateTargetFile(path);
    }
    if (FAILED(hr)) {
        return hr;
    }
    hr = SendRequest();
    CloseTargetFile();
    trace(kTraceGeneral, "hvx::CHttpCurl::MakeFileRequest file download status: 0x%x", hr);

    bool keep = false;
    if (FAILED(hr)) {
        error(u"hvx::CHttpCurl::MakeFileRequest unable to download file to (%s) with error: 0x%x",
              path, hr);
    } else {
        hr = GetResponse(status);
        keep = SUCCEEDED(hr) && status != http::kNotModified;
    }
    if (keep) {
        trace(kTraceGeneral, u"hvx::CHttpCurl::MakeFileRequest %s file downloaded", path);
    } else {
        DeleteTargetFile(path, hr);
    }
    if (FAILED(hr)) {
        error(u"Error occured, 0x%08x: %s", hr, errorText);
        m_errorText = std::move(errorText);
    }
    return hr;
}

void CHttpCurl::InstallWriteCallback(std::u16string& errorText) {
    const WriteCallback write = &WriteData;
    // A callback that cannot be set leaves the data pointer pointless; the download goes on
    // either way, and the engine refuses the body if nothing takes it. A session that was never
    // initialised has no engine to set it on; its SendRequest fails.
    if (m_pICurl == nullptr || TransferFailed(m_pICurl->SetCallback(
                                   curlopt::kWriteFunction, reinterpret_cast<void*>(write)))) {
        errorText = EngineErrorText();
        error("hvx::CHttpCurl::MakeFileRequest: set write callback function failed");
        return;
    }
    if (TransferFailed(m_pICurl->SetCallbackData(curlopt::kWriteData, this))) {
        errorText = EngineErrorText();
        error("hvx::CHttpCurl::MakeFileRequest: set write callback data failed");
    }
}

HRESULT CHttpCurl::CreateTargetFile(const std::u16string& path) {
    HANDLE file = os::CreateFileW(path.c_str(), GENERIC_WRITE, kNoSharing, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL);
    if (file == INVALID_HANDLE_VALUE) {
        const HRESULT hr = HRESULT_FROM_WIN32(os::GetLastError());
        error(u"hvx::CHttpCurl::MakeFileRequest: unable to create file: %s", path);
        return hr;
    }
    m_hFile = file;
    return S_OK;
}

void CHttpCurl::CloseTargetFile() {
    // A failed close is not reported: the handle is gone either way, and a write that failed
    // has already failed the transfer.
    static_cast<void>(os::CloseHandle(m_hFile));
    m_hFile = nullptr;
}

}  // namespace hvx
