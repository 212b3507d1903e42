// IFileDownloader: a whole file download in one call, handed out by CreateFileDownloaderInstance
// and destroyed only by ReleaseFileDownloaderInstance. The virtual operations are in the slot
// order callers rely on (the destructor first); do not reorder them.
#pragma once

#include "interfaces/hvx_types.h"

namespace hvx {

class IFileDownloader {
public:
    virtual ~IFileDownloader() = default;

    // GETs `url` with a session of its own (settings from the process-wide store) and stores the
    // body in the file at `path`, created or overwritten. `shutdown` is asked during the
    // transfer whether to stop.
    //   0: the server answered 200 and the file holds the body.
    //   HVX_E_DOWNLOAD_STATUS: the answer was taken but its status is not 200; the file stays (a
    //     204 leaves it empty), except after a 304, which leaves none.
    //   HVX_E_INVALID_ARGUMENT: `url` or `path` is null; nothing is done.
    //   Otherwise the result of the session's Init or MakeFileRequest (IHttp), and no file.
    virtual HRESULT DownloadHttpFile(const char16_t* url, const char16_t* path,
                                     ShutdownCallback shutdown) = 0;

protected:
    IFileDownloader() = default;
    IFileDownloader(const IFileDownloader&) = default;
    IFileDownloader& operator=(const IFileDownloader&) = default;
    IFileDownloader(IFileDownloader&&) = default;
    IFileDownloader& operator=(IFileDownloader&&) = default;
};

}  // namespace hvx
