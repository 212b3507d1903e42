#include "tools/cli/management_client.h"

namespace hvx::cli {

ManagementRun::ManagementRun(const std::string& command, const Console& console)
    : m_ostra(nullptr, OstraReleaser{}) {
    if (!m_library.Loaded()) {
        console.err << "caspo " << command << ": " << m_library.Problem() << '\n';
        return;
    }
    m_ostra = m_library.NewOstra();
    // A missing value is logged by the library and shows in the operations' results.
    static_cast<void>(m_ostra->Init(InterruptWatch::Callback(), 1));
}

}  // namespace hvx::cli
