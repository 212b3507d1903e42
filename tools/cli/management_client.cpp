#include "tools/cli/management_client.h"

#include "tools/cli/interrupt.h"

namespace hvx::cli {

OstraPtr StartOstra(const CaspoLibrary& library, const std::string& command,
                    const Console& console) {
    if (!library.Loaded()) {
        console.err << "caspo " << command << ": " << library.Problem() << '\n';
        return OstraPtr(nullptr, OstraReleaser{});
    }
    OstraPtr ostra = library.NewOstra();
    // A missing value is logged by the library and shows in the operations' results.
    static_cast<void>(ostra->Init(InterruptWatch::Callback(), 1));
    return ostra;
}

}  // namespace hvx::cli
