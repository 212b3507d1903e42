#include "boundary/file_downloader.h"

#include <cstdint>
#include <utility>

#include "boundary/external_http.h"
#include "session/http_status.h"
#include "siblings/venit/venit.h"
#include "support/trace_levels.h"

namespace hvx {

namespace {

constexpr const char16_t* kGet = u"GET";

}  // namespace

HRESULT FileDownloader::DownloadHttpFile(const char16_t* url, const char16_t* path,
                                         ShutdownCallback shutdown) {
    if (url == nullptr || path == nullptr) {
        error("FileDownloader::DownloadHttpFile: Url or path is null: url: '%p' path: '%p'",
              static_cast<const void*>(url), static_cast<const void*>(path));
        return HVX_E_INVALID_ARGUMENT;
    }
    trace(kTraceGeneral, u"FileDownloader::DownloadHttpFile: Getting %s", url);
    CExternalHttp request;
    HRESULT hr = request.Init(kGet, url, std::move(shutdown), nullptr);
    if (FAILED(hr)) {
        error(u"FileDownloader::DownloadHttpFile: unable to initialize http init: %s, hr: 0x%x",
              url, hr);
        return hr;
    }
    trace(kTraceGeneral, u"FileDownloader::DownloadHttpFile: Saving to %s", path);
    std::uint32_t status = 0;
    hr = request.MakeFileRequest(&status, path);
    if (FAILED(hr)) {
        error(u"FileDownloader::DownloadHttpFile: unable to download file from url: %s, hr: 0x%x",
              url, hr);
        return hr;
    }
    trace(kTraceGeneral,
          u"FileDownloader::DownloadHttpFile downloaded file: %s from url: %s, response: %d, hr: "
          u"0x%x",
          path, url, status, hr);
    return status == http::kOk ? S_OK : HVX_E_DOWNLOAD_STATUS;
}

}  // namespace hvx
