// POST /upload: multipart uploads, read part by part as they arrive (never whole in memory).
// Every part is recorded (name, filename, content type, size, and the text of a small part
// without filename); parts with a filename are stored in the upload folder, when there is
// one, as "<upload number>-<part number>-<filename's last component>". With required credentials
// a request without them, or with others, gets 401. GET /upload lists the uploads received as
// JSON, newest last:
//
//   [{"user": "agent", "password_given": true, "bytes": 1234,
//     "parts": [{"name": "file", "filename": "scan.log", "content_type": "...", "size": 7,
//                "stored": "/tmp/up/1-1-scan.log"},
//               {"name": "version", "size": 5, "text": "6.5.0"}]}]
//
// A body over 2 GiB gets 413. Answers: 200 {"upload": N, "parts": K}; 400 for a body that is
// not multipart.
#pragma once

#include <json/json.h>

#include <filesystem>
#include <mutex>
#include <optional>

#include "tools/backend/basic_auth.h"
#include "tools/backend/route_family.h"

namespace hvx::backend {

class UploadRoutes final : public RouteFamily {
public:
    UploadRoutes(std::optional<std::filesystem::path> folder, std::optional<Credentials> required)
        : m_folder(std::move(folder)), m_required(std::move(required)) {}
    void Register(httplib::Server& server) override;

private:
    void Receive(const httplib::Request& request, httplib::Response& response,
                 const httplib::ContentReader& reader);
    [[nodiscard]] bool Authorized(const std::optional<Credentials>& given) const;

    std::optional<std::filesystem::path> m_folder;
    std::optional<Credentials> m_required;
    std::mutex m_mutex;
    Json::Value m_uploads{Json::arrayValue};
    unsigned m_count = 0;
};

}  // namespace hvx::backend
