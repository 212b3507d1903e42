// hvx::FileDownloader: the IFileDownloader that CreateFileDownloaderInstance hands out. It holds
// no state: each download builds an IHttp facade with a session of its own, for GET, and
// destroys both before it returns.
#pragma once

#include "interfaces/IFileDownloader.h"

namespace hvx {

class FileDownloader : public IFileDownloader {
public:
    FileDownloader() = default;
    ~FileDownloader() override = default;
    FileDownloader(const FileDownloader&) = delete;
    FileDownloader& operator=(const FileDownloader&) = delete;
    FileDownloader(FileDownloader&&) = delete;
    FileDownloader& operator=(FileDownloader&&) = delete;

    HRESULT DownloadHttpFile(const char16_t* url, const char16_t* path,
                             ShutdownCallback shutdown) override;
};

}  // namespace hvx
