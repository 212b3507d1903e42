// /echo (and anything below it), every method: 200 with a JSON description of the request.
//
//   {"method": "POST", "path": "/echo", "query": "a=1&b=2",
//    "headers": [{"name": "Accept", "value": "*/*"}, ...],
//    "body": "...", "body_length": 3,
//    "parts": [{"name": "...", "filename": "...", "content_type": "...", "content": "..."}]}
//
// "query" is the raw text after "?"; "headers" lists the request's headers as cpp-httplib keeps
// them: by name, without regard to case, a repeated name in arrival order (the wire order of
// different names is not kept). A multipart body is described by "parts" and leaves "body" empty.
#pragma once

#include "tools/backend/route_family.h"

namespace hvx::backend {

class EchoRoutes final : public RouteFamily {
public:
    void Register(httplib::Server& server) override;
};

}  // namespace hvx::backend
