// The list of route families the backend serves. A new family (management, events, policy,
// upload, inventory, update) is one RouteFamily class in a file of its own, added here.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/backend/backend_options.h"
#include "tools/backend/route_family.h"
#include "tools/backend/stop_signal.h"

namespace hvx::backend {

struct RouteFamilies {
    std::vector<std::unique_ptr<RouteFamily>> families;
    std::string problem;  // set when a family cannot be made (a --files folder that is missing)
};

RouteFamilies MakeRouteFamilies(const BackendOptions& options, const StopSignal& stop);

}  // namespace hvx::backend
