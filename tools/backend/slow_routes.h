// /slow, every method: a 200 answer that takes its time, for time-outs and aborts.
//
//   delay_ms=N     wait N ms before sending the status line and headers (default 0)
//   bytes=N        body length, announced in Content-Length (default 16)
//   chunk=N        bytes sent at a time (default 1)
//   interval_ms=N  wait N ms before each chunk (default 0)
//
// The body is N times "x". A stop of the backend cuts every wait short and closes the
// connection. Limits: waits up to 10 minutes, bodies up to 1 GiB; past them, or with a value that
// is not a number, the answer is 400.
#pragma once

#include "tools/backend/route_family.h"
#include "tools/backend/stop_signal.h"

namespace hvx::backend {

class SlowRoutes final : public RouteFamily {
public:
    explicit SlowRoutes(const StopSignal& stop) : m_stop(stop) {}
    void Register(httplib::Server& server) override;

private:
    void Answer(const httplib::Request& request, httplib::Response& response) const;

    const StopSignal& m_stop;
};

}  // namespace hvx::backend
