// One caspo-backend for the whole test program, in-process on free ports, over HTTPS with a CA
// of its own, and libcaspo.so loaded by name with the process-wide store trusting that CA with
// verification on: the set-up of an agent that talks to its backend.
//
// There is one of each because the library's store and trusted certificates are process-wide:
// they are loaded by the first session and kept.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "interfaces/caspo.h"
#include "tests/support/temp_dir.h"
#include "tools/backend/backend.h"

namespace hvx::test {

class TrustedBackend {
public:
    // Starts everything on first use; a failure is reported by Problem().
    static TrustedBackend& Shared();

    const std::string& Problem() const { return m_problem; }
    // Stops and destroys the backend; the tests' end does it (trusted_backend.cpp).
    void Stop();
    // The HTTPS URL of `target` ("/files/blob.bin").
    std::u16string WideUrl(const std::string& target) const;
    // The folder the backend serves under /files/.
    const std::filesystem::path& Served() const { return m_served; }

    // Objects from the library's exports, owned so that they go back to its release exports.
    auto NewHttp() const {
        return std::unique_ptr<IHttp, decltype(m_releaseHttp)>(m_getHttp(), m_releaseHttp);
    }
    auto NewDownloader() const {
        return std::unique_ptr<IFileDownloader, decltype(m_releaseDownloader)>(m_createDownloader(),
                                                                               m_releaseDownloader);
    }

private:
    TrustedBackend();
    [[nodiscard]] std::string Start();
    [[nodiscard]] std::string TrustInStore() const;
    [[nodiscard]] std::string LoadLibrary();

    TempDir m_folder;
    std::filesystem::path m_served;
    std::unique_ptr<backend::Backend> m_backend;
    std::string m_problem;
    decltype(&GetIHttp) m_getHttp = nullptr;
    decltype(&ReleaseIHTTP) m_releaseHttp = nullptr;
    decltype(&CreateFileDownloaderInstance) m_createDownloader = nullptr;
    decltype(&ReleaseFileDownloaderInstance) m_releaseDownloader = nullptr;
};

// The content of a file the backend serves: `size` bytes that differ from block to block.
std::string ServedContent(std::size_t size);

}  // namespace hvx::test
