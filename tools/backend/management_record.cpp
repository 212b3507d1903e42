#include "tools/backend/management_record.h"
#include "tools/common/json_text.h"

#include <httplib.h>

namespace hvx::backend {

FormFields ParseFormBody(const std::string& body) {
    FormFields fields;
    std::size_t start = 0;
    while (start < body.size()) {
        std::size_t end = body.find('&', start);
        if (end == std::string::npos) {
            end = body.size();
        }
        const std::string pair = body.substr(start, end - start);
        const auto equals = pair.find('=');
        const std::string name = pair.substr(0, equals);
        const std::string value = equals == std::string::npos ? "" : pair.substr(equals + 1);
        if (!pair.empty()) {
            fields.emplace_back(httplib::detail::decode_url(name, true),
                                httplib::detail::decode_url(value, true));
        }
        start = end + 1;
    }
    return fields;
}

std::string ManagementRecord::Open(const std::optional<std::filesystem::path>& logFile) {
    if (!logFile) {
        return {};
    }
    m_log.open(*logFile, std::ios::app);
    return m_log ? std::string() : "cannot write the record file " + logFile->string();
}

void ManagementRecord::Add(const ManagementRequest& request) {
    Json::Value entry(Json::objectValue);
    entry["route"] = request.route;
    entry["method"] = request.method;
    entry["target"] = request.target;
    entry["status"] = request.status;
    Json::Value fields(Json::arrayValue);
    for (const auto& [name, value] : request.fields) {
        Json::Value pair(Json::arrayValue);
        pair.append(name);
        pair.append(value);
        fields.append(std::move(pair));
    }
    entry["fields"] = std::move(fields);
    const auto elapsed = std::chrono::steady_clock::now() - m_start;
    entry["ms"] =
        Json::UInt64(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());

    const std::lock_guard lock(m_mutex);
    entry["seq"] = Json::UInt64(++m_sequence);
    if (m_log.is_open()) {
        m_log << tools::CompactJson(entry) << '\n' << std::flush;
    }
    m_requests.push_back(std::move(entry));
    if (m_requests.size() > kKept) {
        m_requests.pop_front();
    }
}

Json::Value ManagementRecord::ToJson(const std::string& route) const {
    Json::Value requests(Json::arrayValue);
    const std::lock_guard lock(m_mutex);
    for (const Json::Value& entry : m_requests) {
        if (route.empty() || entry["route"].asString() == route) {
            requests.append(entry);
        }
    }
    Json::Value answer(Json::objectValue);
    answer["requests"] = std::move(requests);
    return answer;
}

void ManagementRecord::Clear() {
    const std::lock_guard lock(m_mutex);
    m_requests.clear();
}

}  // namespace hvx::backend
