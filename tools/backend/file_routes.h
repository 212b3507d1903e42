// GET (and HEAD) /files/<name>: the file <name> of the served folder, with Last-Modified.
// If-Modified-Since is answered with 304 when the file is not newer than the date given (a date
// that cannot be read is ignored). Bodies are streamed from the file, never held whole in memory,
// so a file of any size can be served. A name that leaves the folder gets 403; a name that is not
// a regular file in it gets 404.
#pragma once

#include <filesystem>
#include <string>

#include "tools/backend/route_family.h"
#include "tools/backend/stop_signal.h"

namespace hvx::backend {

class FileRoutes final : public RouteFamily {
public:
    // `root` must be the canonical path of an existing folder. `pattern` is the route, with the
    // file's name as its one group.
    FileRoutes(std::filesystem::path root, const StopSignal& stop,
               std::string pattern = "/files/(.+)")
        : m_root(std::move(root)), m_stop(stop), m_pattern(std::move(pattern)) {}
    void Register(httplib::Server& server) override;

private:
    void Serve(const httplib::Request& request, httplib::Response& response) const;

    std::filesystem::path m_root;
    const StopSignal& m_stop;
    std::string m_pattern;
};

}  // namespace hvx::backend
