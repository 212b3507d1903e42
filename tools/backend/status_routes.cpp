#include "tools/backend/status_routes.h"

#include <json/json.h>

#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

#include "tools/backend/request_body.h"
#include "tools/common/json_text.h"

namespace hvx::backend {
namespace {

constexpr const char* kStatusPattern = R"(/status/(\d{3}))";
constexpr std::size_t kIgnoredBodyLimit = std::size_t{64} << 20U;
constexpr int kLowestStatus = 200;
constexpr int kHighestStatus = 599;
constexpr int kBadRequest = 400;
constexpr int kDecimal = 10;
constexpr int kHexadecimal = 16;
constexpr const char* kResultParam = "result";
constexpr const char* kDetailParam = "detail";
constexpr const char* kBodyParam = "body";
constexpr const char* kHeaderParam = "header";

std::optional<Json::Value> WholeNumber(std::string_view text, int base) {
    const bool negative = !text.empty() && text.front() == '-';
    const std::string_view digits = negative ? text.substr(1) : text;
    std::uint64_t magnitude = 0;
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, magnitude, base);
    if (digits.empty() || error != std::errc{} || stop != end) {
        return std::nullopt;
    }
    if (!negative) {
        return Json::Value(Json::UInt64{magnitude});
    }
    if (magnitude > static_cast<std::uint64_t>(INT64_MAX)) {
        return std::nullopt;
    }
    return Json::Value(-static_cast<Json::Int64>(magnitude));
}

// "3238068225", "0xC1010001" and "-1" become numbers, so the client's own reading of "result"
// (including its refusal of a negative one) can be exercised; any other text stays a string.
Json::Value ResultValue(const std::string& text) {
    const std::string_view view(text);
    const bool hexadecimal = view.starts_with("0x") || view.starts_with("0X");
    auto number =
        hexadecimal ? WholeNumber(view.substr(2), kHexadecimal) : WholeNumber(view, kDecimal);
    return number ? *number : Json::Value(text);
}

std::string ErrorBody(const httplib::Request& request) {
    Json::Value error(Json::objectValue);
    if (request.has_param(kResultParam)) {
        error["result"] = ResultValue(request.get_param_value(kResultParam));
    }
    if (request.has_param(kDetailParam)) {
        error["detail"] = request.get_param_value(kDetailParam);
    }
    return tools::CompactJson(error);
}

void Refuse(httplib::Response& response, const std::string& why) {
    response.status = kBadRequest;
    response.set_content(why + "\n", "text/plain");
}

[[nodiscard]] bool AddRequestedHeaders(const httplib::Request& request,
                                       httplib::Response& response) {
    const std::size_t count = request.get_param_value_count(kHeaderParam);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string line = request.get_param_value(kHeaderParam, i);
        const auto colon = line.find(':');
        if (colon == std::string::npos || colon == 0) {
            Refuse(response, "header needs the form Name: Value, got: " + line);
            return false;
        }
        const auto valueStart = line.find_first_not_of(' ', colon + 1);
        response.set_header(line.substr(0, colon),
                            valueStart == std::string::npos ? "" : line.substr(valueStart));
    }
    return true;
}

void AnswerWithStatus(const httplib::Request& request, const RequestBody& /*body*/,
                      httplib::Response& response) {
    const int status = std::stoi(request.matches[1].str());
    if (status < kLowestStatus || status > kHighestStatus) {
        Refuse(response, "status must be from 200 to 599");
        return;
    }
    if (!AddRequestedHeaders(request, response)) {
        return;
    }
    response.status = status;
    if (request.has_param(kBodyParam)) {
        response.set_content(request.get_param_value(kBodyParam), "text/plain");
    } else if (request.has_param(kResultParam) || request.has_param(kDetailParam)) {
        response.set_content(ErrorBody(request), "application/json");
    }
}

}  // namespace

void StatusRoutes::Register(httplib::Server& server) {
    HandleEveryMethod(server, kStatusPattern, AnswerWithStatus, kIgnoredBodyLimit);
}

}  // namespace hvx::backend
