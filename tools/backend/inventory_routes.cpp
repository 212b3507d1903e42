#include "tools/backend/inventory_routes.h"
#include "tools/common/json_text.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace hvx::backend {
namespace {

constexpr const char* kJsonType = "application/json";
constexpr std::size_t kReportLimit = std::size_t{16} << 20U;
constexpr std::size_t kRecordedReport = 4096;
constexpr int kBadRequest = 400;

struct Kind {
    std::string_view name;
    std::string_view field;
};
constexpr std::array<Kind, 4> kKinds = {{{"product", "set"},
                                         {"product_details", "data"},
                                         {"update", "set"},
                                         {"update_details", "data"}}};

}  // namespace

void InventoryRoutes::Register(httplib::Server& server) {
    HandleEveryMethod(
        server, "/inventory/(product|product_details|update|update_details)",
        [this](const httplib::Request& request, const RequestBody& body,
               httplib::Response& response) { Receive(request, body, response); },
        kReportLimit);
    server.Get("/inventory", [this](const httplib::Request&, httplib::Response& response) {
        const std::lock_guard lock(m_mutex);
        response.set_content(tools::CompactJson(m_reports), kJsonType);
    });
}

void InventoryRoutes::Receive(const httplib::Request& request, const RequestBody& body,
                              httplib::Response& response) {
    const std::string kind = request.matches[1].str();
    const auto* found =
        std::find_if(kKinds.begin(), kKinds.end(), [&](const Kind& k) { return k.name == kind; });
    httplib::Params form;
    httplib::detail::parse_query_text(body.raw, form);
    const std::string field(found->field);
    if (request.method != "POST" || !form.contains(field)) {
        response.status = kBadRequest;
        return;
    }
    const std::string& report = form.find(field)->second;
    Json::Value record(Json::objectValue);
    record["kind"] = kind;
    for (const char* name : {"ag", "bg", "user_lang_id"}) {
        record[name] = form.contains(name) ? form.find(name)->second : "";
    }
    record["field"] = field;
    record["bytes"] = Json::UInt64{report.size()};
    record["report"] = report.substr(0, kRecordedReport);
    Json::Value answer(Json::objectValue);
    answer["kind"] = kind;
    answer["bytes"] = Json::UInt64{report.size()};
    const std::lock_guard lock(m_mutex);
    m_reports.append(std::move(record));
    response.set_content(tools::CompactJson(answer), kJsonType);
}

}  // namespace hvx::backend
