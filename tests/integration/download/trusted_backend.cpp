#include "tests/integration/download/trusted_backend.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <vector>

#include "platform/module.h"
#include "tools/config/config_commands.h"

namespace hvx::test {

namespace {

constexpr const char* kStoreVariable = "TOLVA_STORE";
constexpr std::size_t kHttpsListener = 1;

template <typename Export>
Export Find(HMODULE module, const char* name, std::string& problem) {
    auto* address = reinterpret_cast<Export>(os::GetProcAddress(module, name));
    if (address == nullptr && problem.empty()) {
        problem = std::string("libcaspo.so does not export ") + name;
    }
    return address;
}

TrustedBackend* g_shared = nullptr;

// Stops the shared backend when the tests have ended, while the program is still whole. Left to
// the exit, it would stop after cpp-httplib's own statics (made on its first requests, so
// destroyed first) are gone, and a worker still answering a client killed mid-download would
// use them as they go (the thread sanitizer reports it).
class StopTheSharedBackend final : public ::testing::Environment {
public:
    void TearDown() override {
        if (g_shared != nullptr) {
            g_shared->Stop();
        }
    }
};

// gtest owns the environment; registering it before main is how gtest_main programs add one.
// NOLINTNEXTLINE(cert-err58-cpp)
const ::testing::Environment* const kStopTheSharedBackend =
    ::testing::AddGlobalTestEnvironment(new StopTheSharedBackend);

}  // namespace

TrustedBackend& TrustedBackend::Shared() {
    static TrustedBackend shared;
    g_shared = &shared;
    return shared;
}

void TrustedBackend::Stop() {
    m_backend.reset();
}

TrustedBackend::TrustedBackend() : m_served(m_folder / "files") {
    m_problem = Start();
}

std::string TrustedBackend::Start() {
    std::filesystem::create_directories(m_served);
    backend::BackendOptions options;
    options.filesDir = m_served;
    options.tlsDir = m_folder / "tls";
    m_backend = std::make_unique<backend::Backend>(options);
    if (std::string problem = m_backend->Start(); !problem.empty()) {
        return "the backend did not start: " + problem;
    }
    if (std::string problem = TrustInStore(); !problem.empty()) {
        return problem;
    }
    return LoadLibrary();
}

// The store the library will load, made with the store tool from the backend's trust.json.
std::string TrustedBackend::TrustInStore() const {
    const std::string store = (m_folder / "store.db").string();
    std::ostringstream out;
    std::ostringstream err;
    const std::vector<std::string> import = {"--store", store, "import",
                                             m_backend->TrustFile()->string()};
    if (config_tool::RunConfigCommand(import, out, err) != 0) {
        return "the store did not take trust.json: " + err.str();
    }
    setenv(kStoreVariable, store.c_str(), 1);
    return {};
}

std::string TrustedBackend::LoadLibrary() {
    // Kept loaded for the life of the program, as an agent keeps it.
    HMODULE module = os::LoadLibraryW(kCaspoModule);
    if (module == nullptr) {
        return "libcaspo.so did not load";
    }
    std::string problem;
    m_getHttp = Find<decltype(&GetIHttp)>(module, "GetIHttp", problem);
    m_releaseHttp = Find<decltype(&ReleaseIHTTP)>(module, "ReleaseIHTTP", problem);
    m_createDownloader = Find<decltype(&CreateFileDownloaderInstance)>(
        module, "CreateFileDownloaderInstance", problem);
    m_releaseDownloader = Find<decltype(&ReleaseFileDownloaderInstance)>(
        module, "ReleaseFileDownloaderInstance", problem);
    return problem;
}

std::u16string TrustedBackend::WideUrl(const std::string& target) const {
    const std::string url = m_backend->Listeners().at(kHttpsListener).url + target;
    return {url.begin(), url.end()};
}

std::string ServedContent(std::size_t size) {
    std::string content(size, '\0');
    for (std::size_t index = 0; index < size; ++index) {
        content[index] = static_cast<char>((index * 7 + index / 4096) & 0xFFU);
    }
    return content;
}

}  // namespace hvx::test
