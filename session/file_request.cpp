// hvx::CHttpCurl::MakeFileRequest: runs the session's request with the response body going
// straight to a file through the write callback, never through memory.
//
// The body is written to a new file beside the target (session/replacement_file.h), which
// replaces the target only when the download ends in an answer worth keeping; nobody ever reads a
// half-written download under the target's name, and a process killed mid-transfer leaves the
// target as it was. When the answer is not worth keeping (a failed transfer, a status GetResponse
// refuses, a 304 that carries no body) the file beside the target is removed and so is the file
// that was at the target before, as callers rely on no file being there afterwards.
#include <cstdint>
#include <string>
#include <utility>

#include "platform/file.h"
#include "platform/last_error.h"
#include "session/http_curl.h"
#include "session/http_status.h"
#include "session/replacement_file.h"
#include "session/transfer_limits.h"
#include "siblings/venit/venit.h"
#include "support/trace_levels.h"

namespace hvx {

namespace {

void LogUndeleted(const std::u16string& path, HRESULT result) {
    error(u"hvx::CHttpCurl::MakeFileRequest unable to delete file: %s. download failed: 0x%x", path,
          result);
}

// Nothing of the download stays, and no file from before stays at the target either. A target
// that was not there at the start is not looked for: it would be somebody else's.
void DropDownload(ReplacementFile& file, const std::u16string& path, HRESULT result) {
    if (!file.Discard()) {
        LogUndeleted(file.BesidePath(), result);
    }
    if (file.TargetExisted() && !os::DeleteFileW(path.c_str()) &&
        os::GetLastError() != ERROR_FILE_NOT_FOUND) {
        LogUndeleted(path, result);
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
    if (FAILED(hr)) {
        return hr;
    }
    ReplacementFile file(path);
    hr = file.Create();
    if (FAILED(hr)) {
        error(u"hvx::CHttpCurl::MakeFileRequest: unable to create file: %s", path);
        return hr;
    }
    m_hFile = file.Handle();
    hr = SendRequest();
    m_hFile = nullptr;
    trace(kTraceGeneral, "hvx::CHttpCurl::MakeFileRequest file download status: 0x%x", hr);

    bool keep = false;
    if (FAILED(hr)) {
        error(u"hvx::CHttpCurl::MakeFileRequest unable to download file to (%s) with error: 0x%x",
              path, hr);
    } else {
        hr = GetResponse(status);
        keep = SUCCEEDED(hr) && status != http::kNotModified;
    }
    if (!keep) {
        DropDownload(file, path, hr);
    } else if (hr = file.Commit(); SUCCEEDED(hr)) {
        trace(kTraceGeneral, u"hvx::CHttpCurl::MakeFileRequest %s file downloaded", path);
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

}  // namespace hvx
