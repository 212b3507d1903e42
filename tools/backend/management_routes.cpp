#include "tools/backend/management_routes.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <random>

#include "tools/common/json_text.h"
#include "tools/common/whole_file.h"

namespace hvx::backend {
namespace {

constexpr std::size_t kBodyLimit = std::size_t{1} << 20U;
constexpr std::size_t kLongestSerial = 10;
constexpr int kOk = 200;
constexpr int kBadRequest = 400;
constexpr int kNotFound = 404;
constexpr int kServiceUnavailable = 503;
constexpr std::array<const char*, 4> kRoutes = {"register", "sync_agent_guid", "event", "policy"};

std::string FreshGuid() {
    std::random_device source;
    std::array<std::uint32_t, 4> words{source(), source(), source(), source()};
    std::array<char, 37> text{};
    static_cast<void>(std::snprintf(
        text.data(), text.size(), "%08x-%04x-4%03x-%04x-%04x%08x", words[0], words[1] >> 16U,
        words[1] & 0xFFFU, (words[2] >> 16U & 0x3FFFU) | 0x8000U, words[2] & 0xFFFFU, words[3]));
    return text.data();
}

std::string FieldValue(const FormFields& fields, const std::string& name) {
    for (const auto& [field, value] : fields) {
        if (field == name) {
            return value;
        }
    }
    return {};
}

// The serial at the end of a policy path: the digits after its last "-".
std::optional<std::string> PolicySerial(const std::string& path) {
    const auto hyphen = path.rfind('-');
    const std::string serial = hyphen == std::string::npos ? "" : path.substr(hyphen + 1);
    if (serial.empty() || serial.size() > kLongestSerial ||
        serial.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    return serial;
}

void Apply(const ManagementAnswer& answer, httplib::Response& response) {
    response.status = answer.status;
    if (answer.kind == ManagementAnswer::Kind::Body) {
        response.set_content(answer.body, "text/plain");
    } else if (answer.kind == ManagementAnswer::Kind::Error) {
        Json::Value error(Json::objectValue);
        // "0xC1040003" and "3238281219" are numbers; any other text stays a string.
        const bool hex = answer.result.starts_with("0x");
        const char* begin = answer.result.data() + (hex ? 2 : 0);
        const char* end = answer.result.data() + answer.result.size();
        Json::UInt64 number = 0;
        const auto [stop, failure] = std::from_chars(begin, end, number, hex ? 16 : 10);
        error["result"] = failure == std::errc{} && stop == end && begin != end
                              ? Json::Value(number)
                              : Json::Value(answer.result);
        if (!answer.detail.empty()) {
            error["detail"] = answer.detail;
        }
        response.set_content(tools::CompactJson(error), "application/json");
    }
}

}  // namespace

std::string ManagementRoutes::Configure(const ManagementSettings& settings) {
    m_policyDir = settings.policyDir;
    for (const std::string& rule : settings.rules) {
        const auto equals = rule.find('=');
        std::string problem = equals == std::string::npos
                                  ? "a rule needs the form ROUTE=ANSWER: " + rule
                                  : SetRule(rule.substr(0, equals), rule.substr(equals + 1));
        if (!problem.empty()) {
            return problem;
        }
    }
    return m_record.Open(settings.recordFile);
}

std::string ManagementRoutes::SetRule(const std::string& route, const std::string& answer) {
    if (std::find(kRoutes.begin(), kRoutes.end(), route) == kRoutes.end()) {
        return "no management route " + route;
    }
    std::string problem;
    auto parsed = ParseManagementAnswer(answer, problem);
    if (parsed) {
        const std::lock_guard lock(m_rulesMutex);
        m_rules[route] = std::move(*parsed);
    }
    return problem;
}

void ManagementRoutes::Register(httplib::Server& server) {
    const auto serve = [this](const char* route) {
        return
            [this, route](const httplib::Request& request, const RequestBody& body,
                          httplib::Response& response) { Serve(route, request, body, response); };
    };
    HandleEveryMethod(server, "/mgmt/register", serve("register"), kBodyLimit);
    HandleEveryMethod(server, "/mgmt/sync_agent_guid", serve("sync_agent_guid"), kBodyLimit);
    HandleEveryMethod(server, "/event", serve("event"), kBodyLimit);
    HandleEveryMethod(server, "/policy/.+", serve("policy"), kBodyLimit);
    HandleEveryMethod(
        server, "/mgmt/record",
        [this](const httplib::Request& request, const RequestBody& /*body*/,
               httplib::Response& response) {
            if (request.method == "DELETE") {
                m_record.Clear();
                return;
            }
            const std::string route =
                request.has_param("route") ? request.get_param_value("route") : "";
            response.set_content(tools::CompactJson(m_record.ToJson(route)), "application/json");
        },
        kBodyLimit);
    HandleEveryMethod(
        server, "/mgmt/rules",
        [this](const httplib::Request& request, const RequestBody& /*body*/,
               httplib::Response& response) { ServeRules(request, response); },
        kBodyLimit);
}

void ManagementRoutes::Serve(const std::string& route, const httplib::Request& request,
                             const RequestBody& body, httplib::Response& response) {
    ManagementAnswer answer;
    {
        const std::lock_guard lock(m_rulesMutex);
        if (const auto rule = m_rules.find(route); rule != m_rules.end()) {
            answer = rule->second;
        }
    }
    FormFields fields = ParseFormBody(body.raw);
    if (!m_stop.WaitFor(answer.delay)) {
        response.status = kServiceUnavailable;
    } else if (answer.kind == ManagementAnswer::Kind::Own) {
        OwnAnswer(route, request, fields, response);
    } else {
        Apply(answer, response);
    }
    m_record.Add({route, request.method, request.target, response.status, std::move(fields)});
}

void ManagementRoutes::OwnAnswer(const std::string& route, const httplib::Request& request,
                                 const FormFields& fields, httplib::Response& response) const {
    response.status = kOk;
    if (route == "register") {
        response.set_content("registered", "text/plain");
    } else if (route == "sync_agent_guid") {
        const std::string agent = FieldValue(fields, "ag");
        response.set_content(agent.empty() ? FreshGuid() : agent, "text/plain");
    } else if (route == "event") {
        response.set_content("ok", "text/plain");
    } else {
        const auto serial = PolicySerial(request.path);
        const auto content =
            serial && m_policyDir ? tools::ReadWholeFile(*m_policyDir / *serial) : std::nullopt;
        if (!content) {
            response.status = kNotFound;
            return;
        }
        response.set_content(*content, "application/xml");
    }
}

void ManagementRoutes::ServeRules(const httplib::Request& request, httplib::Response& response) {
    if (request.method == "POST" || request.method == "PUT") {
        const std::string problem =
            SetRule(request.get_param_value("route"), request.get_param_value("answer"));
        if (!problem.empty()) {
            response.status = kBadRequest;
            response.set_content(problem + "\n", "text/plain");
            return;
        }
    } else if (request.method == "DELETE") {
        const std::lock_guard lock(m_rulesMutex);
        m_rules.clear();
    }
    Json::Value rules(Json::objectValue);
    const std::lock_guard lock(m_rulesMutex);
    for (const char* route : kRoutes) {
        const auto rule = m_rules.find(route);
        rules[route] = rule == m_rules.end() ? "ok" : rule->second.text;
    }
    response.set_content(tools::CompactJson(rules), "application/json");
}

}  // namespace hvx::backend
