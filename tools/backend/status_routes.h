// /status/<code>, every method: answers with the status <code> (200 to 599). Query parameters
// choose the rest of the answer:
//
//   result=N     JSON error body {"result": N, ...}; N in decimal, 0x-hexadecimal, or negative,
//                written as a JSON number; anything else is written as a JSON string
//   detail=TEXT  JSON error body {..., "detail": "TEXT"}
//   body=TEXT    this raw body instead (text/plain); wins over result and detail
//   header=Name: Value   a response header (Last-Modified, ...); may be repeated
//
// Without result, detail or body the answer has no body. A code outside 200-599 or a header
// parameter without a colon is answered with 400 and a line saying what is wrong.
#pragma once

#include "tools/backend/route_family.h"

namespace hvx::backend {

class StatusRoutes final : public RouteFamily {
public:
    void Register(httplib::Server& server) override;
};

}  // namespace hvx::backend
