#include "tools/backend/route_families.h"

#include <system_error>

#include "tools/backend/echo_routes.h"
#include "tools/backend/file_routes.h"
#include "tools/backend/inventory_routes.h"
#include "tools/backend/management_routes.h"
#include "tools/backend/slow_routes.h"
#include "tools/backend/status_routes.h"
#include "tools/backend/update_routes.h"
#include "tools/backend/upload_routes.h"

namespace hvx::backend {

namespace {

// Upload, inventory and update; the problem is set when one cannot be made.
void AddClientFamilies(const BackendOptions& options, const StopSignal& stop, RouteFamilies& made) {
    std::optional<Credentials> required;
    if (options.uploadUser) {
        const std::size_t colon = options.uploadUser->find(':');
        required = Credentials{options.uploadUser->substr(0, colon),
                               options.uploadUser->substr(colon + 1)};
    }
    std::error_code error;
    if (options.uploadDir && !std::filesystem::is_directory(*options.uploadDir, error)) {
        made.problem = "no upload folder at " + options.uploadDir->string();
        return;
    }
    made.families.push_back(std::make_unique<UploadRoutes>(options.uploadDir, required));
    made.families.push_back(std::make_unique<InventoryRoutes>());
    if (options.updateDir) {
        auto update = UpdateRoutes::Make(*options.updateDir, options.offer, stop, made.problem);
        if (update) {
            made.families.push_back(std::move(update));
        }
    }
}

}  // namespace

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
    AddClientFamilies(options, stop, made);
    return made;
}

}  // namespace hvx::backend
