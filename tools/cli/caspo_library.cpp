#include "tools/cli/caspo_library.h"

#include <string>

#include "platform/last_error.h"
#include "platform/module.h"
#include "tools/cli/result_text.h"

namespace hvx::cli {

namespace {

// The export of that name, as the export's own type; null when the module lacks it.
template <typename Function>
Function Find(HMODULE module, const char* name, std::string& missing) {
    void* address = os::GetProcAddress(module, name);
    if (address == nullptr && missing.empty()) {
        missing = name;
    }
    return reinterpret_cast<Function>(address);
}

}  // namespace

CaspoLibrary::CaspoLibrary() : m_module(os::LoadLibraryW(kCaspoModule)) {
    if (m_module == nullptr) {
        const DWORD error = os::GetLastError();
        m_problem = "cannot load the library (libcaspo.so): " + SystemMessage(error) + " (" +
                    std::to_string(error) + ")";
        return;
    }
    Resolve();
}

void CaspoLibrary::Resolve() {
    std::string missing;
    m_getHttp = Find<decltype(&GetIHttp)>(m_module, "GetIHttp", missing);
    m_releaseHttp = Find<decltype(&ReleaseIHTTP)>(m_module, "ReleaseIHTTP", missing);
    m_createDownloader = Find<decltype(&CreateFileDownloaderInstance)>(
        m_module, "CreateFileDownloaderInstance", missing);
    m_releaseDownloader = Find<decltype(&ReleaseFileDownloaderInstance)>(
        m_module, "ReleaseFileDownloaderInstance", missing);
    m_getOstra = Find<decltype(&GetIOstraHttp)>(m_module, "GetIOstraHttp", missing);
    m_releaseOstra = Find<decltype(&ReleaseIOstraHTTP)>(m_module, "ReleaseIOstraHTTP", missing);
    if (!missing.empty()) {
        m_problem = "the library (libcaspo.so) does not export " + missing;
    }
}

HttpPtr CaspoLibrary::NewHttp() const {
    return HttpPtr(m_getHttp(), HttpReleaser{m_releaseHttp});
}

DownloaderPtr CaspoLibrary::NewDownloader() const {
    return DownloaderPtr(m_createDownloader(), DownloaderReleaser{m_releaseDownloader});
}

OstraPtr CaspoLibrary::NewOstra() const {
    return OstraPtr(m_getOstra(), OstraReleaser{m_releaseOstra});
}

}  // namespace hvx::cli
