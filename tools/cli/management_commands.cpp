// caspo sync, caspo event ID TYPE DATA, caspo policy SERIAL FILE: the management client's
// SyncAgentGuid, SendEvent and FetchPolicy through the library's exports.
#include <charconv>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "tools/cli/interrupt.h"
#include "tools/cli/management_client.h"
#include "tools/cli/wide_text.h"

namespace hvx::cli {

namespace {

// A GUID's 36 characters and its terminator fit with room to spare.
constexpr std::uint32_t kGuidCapacity = 64;

template <typename Number>
bool ReadNumber(const std::string& text, Number& value) {
    const bool hex = text.starts_with("0x") || text.starts_with("0X");
    const char* begin = text.data() + (hex ? 2 : 0);
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(begin, end, value, hex ? 16 : 10);
    return begin != end && error == std::errc{} && stop == end;
}

int Usage(const char* usage, const Console& console) {
    console.err << usage;
    return kExitUsage;
}

}  // namespace

int RunSyncCommand(const std::vector<std::string>& operands, const Console& console) {
    if (!operands.empty()) {
        return Usage("usage: caspo sync\n", console);
    }
    const CaspoLibrary library;
    const InterruptWatch interrupt;
    const OstraPtr ostra = StartOstra(library, "sync", console);
    if (!ostra) {
        return kExitFailure;
    }
    std::u16string buffer(kGuidCapacity, u'\0');
    std::uint32_t length = kGuidCapacity;
    const HRESULT result = ostra->SyncAgentGuid(&length, buffer.data());
    const std::string guid = Narrow(buffer.substr(0, buffer.find(u'\0')));
    Json::Value details(Json::objectValue);
    details["guid"] = guid;
    std::string what = "not synchronised";
    if (!guid.empty()) {
        what = "the agent's GUID is " + guid;
    } else if (SUCCEEDED(result)) {
        what = length == 0 ? "the backend confirmed the configured GUID"
                           : "nothing changed, nothing sent";
    }
    return ReportManagement("sync", result, what, details, console);
}

int RunEventCommand(const std::vector<std::string>& operands, const Console& console) {
    constexpr const char* kUsage = "usage: caspo event ID TYPE DATA\n";
    std::uint64_t id = 0;
    std::uint32_t type = 0;
    const auto data = operands.size() == 3 ? Widen(operands[2]) : std::nullopt;
    if (!data || !ReadNumber(operands[0], id) || !ReadNumber(operands[1], type)) {
        return Usage(kUsage, console);
    }
    const CaspoLibrary library;
    const InterruptWatch interrupt;
    const OstraPtr ostra = StartOstra(library, "event", console);
    if (!ostra) {
        return kExitFailure;
    }
    const HRESULT result = ostra->SendEvent(id, os::GetSystemTimeAsFileTime(), type, data->c_str());
    return ReportManagement("event", result, SUCCEEDED(result) ? "accepted" : "not accepted",
                            Json::Value(Json::objectValue), console);
}

int RunPolicyCommand(const std::vector<std::string>& operands, const Console& console) {
    constexpr const char* kUsage = "usage: caspo policy SERIAL FILE   (SERIAL decimal or 0x...)\n";
    std::uint32_t serial = 0;
    const auto path = operands.size() == 2 ? Widen(operands[1]) : std::nullopt;
    if (!path || !ReadNumber(operands[0], serial)) {
        return Usage(kUsage, console);
    }
    const CaspoLibrary library;
    const InterruptWatch interrupt;
    const OstraPtr ostra = StartOstra(library, "policy", console);
    if (!ostra) {
        return kExitFailure;
    }
    std::uint32_t status = 0;
    const HRESULT result = ostra->FetchPolicy(serial, path->c_str(), &status);
    Json::Value details(Json::objectValue);
    details["status"] = status;
    details["file"] = operands[1];
    std::string what = SUCCEEDED(result) ? "written to " + operands[1] : "not fetched";
    if (status != 0) {
        what += " (status " + std::to_string(status) + ")";
    }
    return ReportManagement("policy", result, what, details, console);
}

}  // namespace hvx::cli
