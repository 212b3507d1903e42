// The agent's side of the clients' integration tests: one configuration store for the program,
// written with the store tool, and libcaspo loaded by name, used only through its exports.
//
// There is one of each because the library's store and trusted certificates are process-wide:
// the store is read by the first session and kept, so everything the library must find is set
// (Set, Import) before the first client runs. The update client loads the store again before
// each step, so its keys may change between tests.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "interfaces/caspo.h"
#include "tests/support/temp_dir.h"

namespace hvx::test {

class AgentStore {
public:
    static AgentStore& Shared();

    // The store tool's command line on this store; its error text, empty on success.
    std::string Config(std::vector<std::string> arguments) const;
    std::string Set(const std::string& key, const std::string& value,
                    const std::string& type = "wide") const {
        return Config({"set", key, value, "--type", type});
    }
    const std::filesystem::path& Folder() const { return m_folder.path(); }

    // Objects of the library's exports, handed back to their release exports.
    using UploadPtr = std::unique_ptr<IHttpUpload, decltype(&ReleaseIHTTPUpload)>;
    using UpdatePtr = std::unique_ptr<IUpdateHttp, decltype(&ReleaseIUpdateHttp)>;
    UploadPtr NewUpload() const { return {m_getUpload(), m_releaseUpload}; }
    UpdatePtr NewUpdate() const { return {m_getUpdate(), m_releaseUpdate}; }
    // Empty when libcaspo loaded with every export used here.
    const std::string& Problem() const { return m_problem; }

private:
    AgentStore();

    TempDir m_folder;
    std::string m_problem;
    decltype(&GetIHttpUpload) m_getUpload = nullptr;
    decltype(&ReleaseIHTTPUpload) m_releaseUpload = nullptr;
    decltype(&GetIUpdateHttp) m_getUpdate = nullptr;
    decltype(&ReleaseIUpdateHttp) m_releaseUpdate = nullptr;
};

}  // namespace hvx::test
