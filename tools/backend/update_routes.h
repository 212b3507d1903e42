// The update server: GET /update/seed.xml and GET /update/files/<name>, from the update folder
// (--update-dir).
//
// With an offer (--offer VERSION=FILE), FILE is signed at start with the folder's signing
// identity (signing_identity.h) into the folder under its own name, and the seed offers it:
//
//   <?xml version="1.0" encoding="UTF-8"?>
//   <update><location>https://127.0.0.1:41235/update/files/NAME</location>
//     <hash>SHA-256 of the signed file</hash><version>VERSION</version><type>TYPE</type>
//     <mask>PREFIX</mask>...</update>
//
// The location names the server and scheme the seed was asked for (the request's Host). The
// seed carries Last-Modified, the time the backend started, and If-Modified-Since that is not
// older is answered with 304. Without an offer the seed is 404. Files are served as /files/ is
// (file_routes.h): Last-Modified, 304, ranges.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tools/backend/backend_options.h"
#include "tools/backend/file_routes.h"
#include "tools/backend/route_family.h"
#include "tools/backend/stop_signal.h"

namespace hvx::backend {

class UpdateRoutes final : public RouteFamily {
public:
    // Prepares the folder (signing identity, the signed installer); null and `problem` set when
    // that fails.
    static std::unique_ptr<UpdateRoutes> Make(const std::filesystem::path& folder,
                                              const std::optional<UpdateOffer>& offer,
                                              const StopSignal& stop, std::string& problem);
    void Register(httplib::Server& server) override;

private:
    UpdateRoutes(std::filesystem::path folder, const StopSignal& stop);
    void ServeSeed(const httplib::Request& request, httplib::Response& response) const;

    FileRoutes m_files;
    std::optional<UpdateOffer> m_offer;
    std::string m_installerName;
    std::string m_hash;
    std::time_t m_seedTime = 0;
};

}  // namespace hvx::backend
