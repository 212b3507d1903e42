// libcaspo, loaded at run time by its module name ("caspo.dll"), and used only through its
// exports, as an agent component uses it. The objects it hands out are held by owners that give
// them back to the matching release export.
//
// The module is never unloaded: its process-wide state (the configuration store, the trusted
// certificates) lives as long as the process, as it does in an agent, and is freed at exit.
#pragma once

#include <memory>

#include "interfaces/caspo.h"
#include "platform/module.h"

namespace hvx::cli {

struct HttpReleaser {
    decltype(&ReleaseIHTTP) release = nullptr;
    void operator()(IHttp* http) const { release(http); }
};
struct DownloaderReleaser {
    decltype(&ReleaseFileDownloaderInstance) release = nullptr;
    void operator()(IFileDownloader* downloader) const { release(downloader); }
};
struct OstraReleaser {
    decltype(&ReleaseIOstraHTTP) release = nullptr;
    void operator()(IOstraHttp* ostra) const { release(ostra); }
};
using HttpPtr = std::unique_ptr<IHttp, HttpReleaser>;
using OstraPtr = std::unique_ptr<IOstraHttp, OstraReleaser>;
using DownloaderPtr = std::unique_ptr<IFileDownloader, DownloaderReleaser>;

class CaspoLibrary {
public:
    // Loads the module and finds the exports the command line uses.
    CaspoLibrary();
    ~CaspoLibrary() = default;
    CaspoLibrary(const CaspoLibrary&) = delete;
    CaspoLibrary& operator=(const CaspoLibrary&) = delete;
    CaspoLibrary(CaspoLibrary&&) = delete;
    CaspoLibrary& operator=(CaspoLibrary&&) = delete;

    // False when the module or one of the exports is missing; Problem() says which.
    bool Loaded() const { return m_problem.empty(); }
    const std::string& Problem() const { return m_problem; }

    // A facade (GetIHttp) and a downloader (CreateFileDownloaderInstance); only when Loaded().
    HttpPtr NewHttp() const;
    DownloaderPtr NewDownloader() const;
    // A management client (GetIOstraHttp), not initialised; only when Loaded().
    OstraPtr NewOstra() const;

    // The export `name` as its own type `Function`; null when the library lacks it.
    template <typename Function>
    Function Export(const char* name) const {
        return reinterpret_cast<Function>(os::GetProcAddress(m_module, name));
    }

    // An object of a factory export, owned so that it goes back to the release export: null when
    // the library lacks either. `Get` and `Release` are the exports' own types.
    template <typename Interface, typename Get, typename Release>
    std::unique_ptr<Interface, Release> NewObject(const char* get, const char* release) const {
        const auto factory = Export<Get>(get);
        const auto releaser = Export<Release>(release);
        if (factory == nullptr || releaser == nullptr) {
            return std::unique_ptr<Interface, Release>(nullptr, releaser);
        }
        return std::unique_ptr<Interface, Release>(factory(), releaser);
    }

private:
    void Resolve();

    HMODULE m_module = nullptr;
    std::string m_problem;
    decltype(&GetIHttp) m_getHttp = nullptr;
    decltype(&ReleaseIHTTP) m_releaseHttp = nullptr;
    decltype(&CreateFileDownloaderInstance) m_createDownloader = nullptr;
    decltype(&ReleaseFileDownloaderInstance) m_releaseDownloader = nullptr;
    decltype(&GetIOstraHttp) m_getOstra = nullptr;
    decltype(&ReleaseIOstraHTTP) m_releaseOstra = nullptr;
};

}  // namespace hvx::cli
