// POST /inventory/<kind>, kind one of product, product_details, update, update_details: an
// inventory report as a form ("ag", "bg", "user_lang_id" and "set" or "data"). It is recorded
// and answered with 200 {"kind": "<kind>", "bytes": <length of the report>}; a form without the
// report's field gets 400, a body over 16 MiB 413. GET /inventory lists the reports received,
// newest last: [{"kind", "ag", "bg", "user_lang_id", "field", "bytes", "report"}], the report cut
// to its first 4 KiB.
#pragma once

#include <json/json.h>

#include <mutex>

#include "tools/backend/request_body.h"
#include "tools/backend/route_family.h"

namespace hvx::backend {

class InventoryRoutes final : public RouteFamily {
public:
    void Register(httplib::Server& server) override;

private:
    void Receive(const httplib::Request& request, const RequestBody& body,
                 httplib::Response& response);

    std::mutex m_mutex;
    Json::Value m_reports{Json::arrayValue};
};

}  // namespace hvx::backend
