// caspo sync, caspo event ID TYPE DATA, caspo policy SERIAL FILE: the management client's
// SyncAgentGuid, SendEvent and FetchPolicy through the library's exports. Each request goes to a
// URL of the store: the management endpoint, the event endpoint, the template of the policy's
// level.
#include <array>
#include <charconv>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "support/config_keys.h"
#include "tools/cli/agent_store.h"
#include "tools/cli/interrupt.h"
#include "tools/cli/management_client.h"
#include "tools/cli/report.h"
#include "tools/cli/request_watch.h"
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

// The URL template of a policy's level: the highest of the serial's four top bits that is set.
const char* PolicyTemplateKey(std::uint32_t serial) {
    constexpr std::array<std::pair<std::uint32_t, const char*>, 4> kLevels = {{
        {0x80000000U, keys::kPolicyAffiliate},
        {0x40000000U, keys::kPolicyCompany},
        {0x20000000U, keys::kPolicyPolicy},
        {0x10000000U, keys::kPolicyAgent},
    }};
    for (const auto& [bit, key] : kLevels) {
        if ((serial & bit) != 0) {
            return key;
        }
    }
    return nullptr;
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
    const ManagementRun ostra("sync", console);
    if (!ostra) {
        return kExitFailure;
    }
    const RequestWatch watch(StoredText(keys::kMgmtEndpoint), console.err);
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
    return Report({.command = "sync",
                   .result = result,
                   .interrupted = InterruptWatch::Raised(),
                   .reason = watch.ReasonFor(result),
                   .what = what,
                   .details = details},
                  console);
}

int RunEventCommand(const std::vector<std::string>& operands, const Console& console) {
    constexpr const char* kUsage = "usage: caspo event ID TYPE DATA\n";
    std::uint64_t id = 0;
    std::uint32_t type = 0;
    const auto data = operands.size() == 3 ? Widen(operands[2]) : std::nullopt;
    if (!data || !ReadNumber(operands[0], id) || !ReadNumber(operands[1], type)) {
        return Usage(kUsage, console);
    }
    const ManagementRun ostra("event", console);
    if (!ostra) {
        return kExitFailure;
    }
    const RequestWatch watch(StoredText(keys::kEventEndpoint), console.err);
    const HRESULT result = ostra->SendEvent(id, os::GetSystemTimeAsFileTime(), type, data->c_str());
    return Report({.command = "event",
                   .result = result,
                   .interrupted = InterruptWatch::Raised(),
                   .reason = watch.ReasonFor(result),
                   .what = SUCCEEDED(result) ? "accepted" : "not accepted"},
                  console);
}

int RunPolicyCommand(const std::vector<std::string>& operands, const Console& console) {
    constexpr const char* kUsage = "usage: caspo policy SERIAL FILE   (SERIAL decimal or 0x...)\n";
    std::uint32_t serial = 0;
    const auto path = operands.size() == 2 ? Widen(operands[1]) : std::nullopt;
    if (!path || !ReadNumber(operands[0], serial)) {
        return Usage(kUsage, console);
    }
    const ManagementRun ostra("policy", console);
    if (!ostra) {
        return kExitFailure;
    }
    // A serial without a level bit is refused before any request.
    const char* templateKey = PolicyTemplateKey(serial);
    const RequestWatch watch(templateKey != nullptr ? StoredText(templateKey) : u"", console.err);
    std::uint32_t status = 0;
    const HRESULT result = ostra->FetchPolicy(serial, path->c_str(), &status);
    Json::Value details(Json::objectValue);
    details["status"] = status;
    details["file"] = operands[1];
    std::string what = SUCCEEDED(result) ? "written to " + operands[1] : "not fetched";
    if (status != 0) {
        what += " (status " + std::to_string(status) + ")";
    }
    return Report({.command = "policy",
                   .result = result,
                   .interrupted = InterruptWatch::Raised(),
                   .reason = watch.ReasonFor(result),
                   .what = what,
                   .details = details},
                  console);
}

}  // namespace hvx::cli
