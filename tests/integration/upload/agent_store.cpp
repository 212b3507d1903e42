#include "tests/integration/upload/agent_store.h"

#include <cstdlib>
#include <sstream>

#include "platform/module.h"
#include "tools/config/config_commands.h"

namespace hvx::test {

namespace {

template <typename Export>
Export Find(HMODULE module, const char* name, std::string& problem) {
    auto* address = reinterpret_cast<Export>(os::GetProcAddress(module, name));
    if (address == nullptr && problem.empty()) {
        problem = std::string("libcaspo.so does not export ") + name;
    }
    return address;
}

}  // namespace

AgentStore& AgentStore::Shared() {
    static AgentStore shared;
    return shared;
}

AgentStore::AgentStore() {
    setenv("TOLVA_STORE", (m_folder / "store.db").c_str(), 1);
    // Kept loaded for the life of the program, as an agent keeps it.
    HMODULE module = os::LoadLibraryW(kCaspoModule);
    if (module == nullptr) {
        m_problem = "libcaspo.so did not load";
        return;
    }
    m_getUpload = Find<decltype(&GetIHttpUpload)>(module, "GetIHttpUpload", m_problem);
    m_releaseUpload = Find<decltype(&ReleaseIHTTPUpload)>(module, "ReleaseIHTTPUpload", m_problem);
    m_getUpdate = Find<decltype(&GetIUpdateHttp)>(module, "GetIUpdateHttp", m_problem);
    m_releaseUpdate = Find<decltype(&ReleaseIUpdateHttp)>(module, "ReleaseIUpdateHttp", m_problem);
}

std::string AgentStore::Config(std::vector<std::string> arguments) const {
    arguments.insert(arguments.begin(), {"--store", (m_folder / "store.db").string()});
    std::ostringstream out;
    std::ostringstream err;
    return config_tool::RunConfigCommand(arguments, out, err) == 0 ? std::string()
                                                                   : "store tool: " + err.str();
}

}  // namespace hvx::test
