#include "tools/backend/echo_routes.h"

#include <json/json.h>

#include <algorithm>
#include <array>
#include <string_view>

#include "tools/backend/request_body.h"
#include "tools/common/json_text.h"

namespace hvx::backend {
namespace {

constexpr const char* kEchoPattern = "/echo(/.*)?";
constexpr std::size_t kEchoBodyLimit = std::size_t{64} << 20U;
constexpr const char* kJsonType = "application/json";

// Headers that cpp-httplib adds to every request it receives; the client sent none of them.
constexpr std::array<std::string_view, 4> kServerAddedHeaders = {"REMOTE_ADDR", "REMOTE_PORT",
                                                                 "LOCAL_ADDR", "LOCAL_PORT"};

bool IsServerAdded(const std::string& name) {
    return std::ranges::any_of(kServerAddedHeaders,
                               [&name](std::string_view added) { return name == added; });
}

std::string QueryText(const std::string& target) {
    const auto mark = target.find('?');
    return mark == std::string::npos ? std::string() : target.substr(mark + 1);
}

Json::Value HeadersJson(const httplib::Headers& headers) {
    Json::Value list(Json::arrayValue);
    for (const auto& [name, value] : headers) {
        if (IsServerAdded(name)) {
            continue;
        }
        Json::Value header;
        header["name"] = name;
        header["value"] = value;
        list.append(header);
    }
    return list;
}

Json::Value PartsJson(const std::vector<httplib::MultipartFormData>& parts) {
    Json::Value list(Json::arrayValue);
    for (const auto& part : parts) {
        Json::Value item;
        item["name"] = part.name;
        item["filename"] = part.filename;
        item["content_type"] = part.content_type;
        item["content"] = part.content;
        list.append(item);
    }
    return list;
}

void Echo(const httplib::Request& request, const RequestBody& body, httplib::Response& response) {
    Json::Value echo;
    echo["method"] = request.method;
    echo["path"] = request.path;
    echo["query"] = QueryText(request.target);
    echo["headers"] = HeadersJson(request.headers);
    echo["body"] = body.raw;
    echo["body_length"] = Json::UInt64{body.raw.size()};
    echo["parts"] = PartsJson(body.parts);
    response.set_content(tools::CompactJson(echo), kJsonType);
}

}  // namespace

void EchoRoutes::Register(httplib::Server& server) {
    HandleEveryMethod(server, kEchoPattern, Echo, kEchoBodyLimit);
}

}  // namespace hvx::backend
