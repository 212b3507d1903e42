#include "tools/backend/route_families.h"

#include <system_error>

#include "tools/backend/echo_routes.h"
#include "tools/backend/file_routes.h"
#include "tools/backend/management_routes.h"
#include "tools/backend/slow_routes.h"
#include "tools/backend/status_routes.h"

namespace hvx::backend {

RouteFamilies MakeRouteFamilies(const BackendOptions& options, const StopSignal& stop) {
    RouteFamilies made;
    made.families.push_back(std::make_unique<EchoRoutes>());
    made.families.push_back(std::make_unique<StatusRoutes>());
    made.families.push_back(std::make_unique<SlowRoutes>(stop));
    auto management = std::make_unique<ManagementRoutes>(stop);
    made.problem =
        management->Configure({options.policyDir, options.recordFile, options.managementRules});
    if (!made.problem.empty()) {
        return made;
    }
    made.families.push_back(std::move(management));
    if (options.filesDir) {
        std::error_code error;
        auto root = std::filesystem::canonical(*options.filesDir, error);
        if (error || !std::filesystem::is_directory(root, error)) {
            made.problem = "no folder to serve at " + options.filesDir->string();
            return made;
        }
        made.families.push_back(std::make_unique<FileRoutes>(std::move(root), stop));
    }
    return made;
}

}  // namespace hvx::backend
