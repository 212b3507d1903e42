// What agents sent to the management routes, kept in memory (the last 100,000 requests) for the
// inspection route and, with --record FILE, appended to FILE as JSON lines:
//
//   {"seq": 1, "ms": 12, "route": "register", "method": "POST", "target": "/mgmt/register",
//    "status": 200, "fields": [["agent_guid", "..."], ["hostname", "..."], ...]}
//
// "ms" counts from the backend's start; "fields" are the form fields in the order they came,
// decoded. Thread-safe.
#pragma once

#include <json/json.h>

#include <chrono>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace hvx::backend {

using FormFields = std::vector<std::pair<std::string, std::string>>;

// An url-encoded form body, decoded, in order.
FormFields ParseFormBody(const std::string& body);

struct ManagementRequest {
    std::string route;
    std::string method;
    std::string target;
    int status = 0;
    FormFields fields;
};

class ManagementRecord {
public:
    // An empty text when the log file can be opened (or none is asked for); else what failed.
    [[nodiscard]] std::string Open(const std::optional<std::filesystem::path>& logFile);
    void Add(const ManagementRequest& request);
    // {"requests": [...]}, only those of `route` when it is not empty.
    Json::Value ToJson(const std::string& route) const;
    void Clear();

private:
    static constexpr std::size_t kKept = 100000;

    mutable std::mutex m_mutex;
    std::deque<Json::Value> m_requests;
    std::uint64_t m_sequence = 0;
    std::ofstream m_log;
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

}  // namespace hvx::backend
