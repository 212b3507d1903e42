// One family of routes (files, echo, management, upload, ...). The backend makes one object per
// family and has it register its handlers on each of its servers, HTTP and HTTPS alike, so state
// that a family keeps is shared by both.
#pragma once

#include <httplib.h>

namespace hvx::backend {

class RouteFamily {
public:
    RouteFamily() = default;
    virtual ~RouteFamily() = default;
    RouteFamily(const RouteFamily&) = delete;
    RouteFamily& operator=(const RouteFamily&) = delete;
    RouteFamily(RouteFamily&&) = delete;
    RouteFamily& operator=(RouteFamily&&) = delete;

    // Called once for each server, before it listens. Handlers run on the servers' worker
    // threads, several at a time.
    virtual void Register(httplib::Server& server) = 0;
};

}  // namespace hvx::backend
