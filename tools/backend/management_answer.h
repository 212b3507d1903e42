// How the reference backend answers a management route, as an operator writes it:
//
//   ok                      the route's own answer (see management_routes.h)
//   guid:GUID               200 with GUID as the body
//   space                   200 with one blank
//   empty                   200 with no body
//   status:N                status N (200 to 599) with no body
//   error:N:RESULT[:DETAIL] status N with the JSON error body {"result": RESULT, "detail": DETAIL}
//
// each optionally followed by "+slow:MS": wait MS milliseconds (at most 10 minutes) first.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace hvx::backend {

struct ManagementAnswer {
    enum class Kind : std::uint8_t { Own, Body, Status, Error };
    Kind kind = Kind::Own;
    int status = 200;
    std::string body;
    std::string result;
    std::string detail;
    std::chrono::milliseconds delay{0};
    std::string text = "ok";  // as written
};

// The answer `text` describes; nothing, and what is wrong in `problem`, when it is not one.
std::optional<ManagementAnswer> ParseManagementAnswer(std::string_view text, std::string& problem);

}  // namespace hvx::backend
