// The management backend's routes: what agents send is recorded (management_record.h) and
// answered by the rule an operator set for the route (management_answer.h), or by the route's
// own answer:
//
//   POST /mgmt/register         200 "registered"
//   POST /mgmt/sync_agent_guid  200 with the agent's own GUID (the "ag" field), confirming it;
//                               a fresh GUID when the agent sent none
//   POST /event                 200 "ok"
//   GET  /policy/<path>-<serial> the file <serial> (decimal) of the policy folder, else 404
//
// and the operator's routes:
//
//   GET    /mgmt/record[?route=R]           {"requests": [...]}: what arrived, oldest first
//   DELETE /mgmt/record                     forgets it
//   GET    /mgmt/rules                      {"register": "ok", ...}
//   POST   /mgmt/rules?route=R&answer=A     sets the answer of route R (400 for a bad one)
//   DELETE /mgmt/rules                      every route back to "ok"
//
// Routes: register, sync_agent_guid, event, policy.
#pragma once

#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "tools/backend/management_answer.h"
#include "tools/backend/management_record.h"
#include "tools/backend/request_body.h"
#include "tools/backend/route_family.h"
#include "tools/backend/stop_signal.h"

namespace hvx::backend {

struct ManagementSettings {
    std::optional<std::filesystem::path> policyDir;
    std::optional<std::filesystem::path> recordFile;
    std::vector<std::string> rules;  // "ROUTE=ANSWER"
};

class ManagementRoutes final : public RouteFamily {
public:
    explicit ManagementRoutes(const StopSignal& stop) : m_stop(stop) {}
    // An empty text when the settings hold; else what is wrong with them.
    [[nodiscard]] std::string Configure(const ManagementSettings& settings);
    void Register(httplib::Server& server) override;

private:
    // Sets the answer of `route`; an empty text, or what is wrong.
    std::string SetRule(const std::string& route, const std::string& answer);
    void Serve(const std::string& route, const httplib::Request& request, const RequestBody& body,
               httplib::Response& response);
    void OwnAnswer(const std::string& route, const httplib::Request& request,
                   const FormFields& fields, httplib::Response& response) const;
    void ServeRules(const httplib::Request& request, httplib::Response& response);

    const StopSignal& m_stop;
    std::optional<std::filesystem::path> m_policyDir;
    ManagementRecord m_record;
    std::mutex m_rulesMutex;
    std::map<std::string, ManagementAnswer> m_rules;
};

}  // namespace hvx::backend
