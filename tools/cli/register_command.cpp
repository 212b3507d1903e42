// caspo register [--coin N]... [--repeat N]: the management client's Register, said why it sent
// or why it did not. The library tells that only in its log, so the command reads the records
// the library writes while the call runs (venit's capture sink). The request goes to the
// management endpoint of the store.
#include <charconv>
#include <cstdint>
#include <string>
#include <vector>

#include "siblings/venit/venit.h"
#include "support/config_keys.h"
#include "support/trace_levels.h"
#include "tools/cli/agent_store.h"
#include "tools/cli/interrupt.h"
#include "tools/cli/management_client.h"
#include "tools/cli/report.h"
#include "tools/cli/request_watch.h"

namespace hvx::cli {

namespace {

constexpr const char* kUsage = "usage: caspo register [--coin N]... [--repeat N]\n";
constexpr const char* kSentPrefix = "hvx::COstraHttp::Register: registering, reason: ";
constexpr const char* kHeldBack = "Rate-limiting re-register.";
constexpr std::uint32_t kMostRepeats = 1000;

struct RegisterLine {
    std::vector<std::uint32_t> coins;
    std::uint32_t repeat = 1;
};

bool ReadNumber(const std::string& text, std::uint32_t& value) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return !text.empty() && error == std::errc{} && stop == end;
}

bool Parse(const std::vector<std::string>& operands, RegisterLine& line) {
    for (std::size_t i = 0; i < operands.size(); i += 2) {
        std::uint32_t value = 0;
        if (i + 1 == operands.size() || !ReadNumber(operands[i + 1], value)) {
            return false;
        }
        if (operands[i] == "--coin") {
            line.coins.push_back(value);
        } else if (operands[i] == "--repeat" && value > 0 && value <= kMostRepeats) {
            line.repeat = value;
        } else {
            return false;
        }
    }
    return true;
}

// Why the call did or did not send, from the records it wrote; "cause" in JSON ("reason" is why
// a transfer failed, as for every command).
std::string WhatHappened(const std::vector<venit::Record>& records, Json::Value& details) {
    for (const venit::Record& record : records) {
        if (record.text.starts_with(kSentPrefix)) {
            const std::string reason = record.text.substr(std::string(kSentPrefix).size());
            details["sent"] = true;
            details["cause"] = reason;
            return "sent (cause: " + reason + ")";
        }
        if (record.text == kHeldBack) {
            details["sent"] = false;
            details["cause"] = "rate-limited";
            return "not sent (rate-limited)";
        }
    }
    details["sent"] = false;
    details["cause"] = "nothing changed";
    return "not sent (nothing changed)";
}

}  // namespace

int RunRegisterCommand(const std::vector<std::string>& operands, const Console& console) {
    RegisterLine line;
    if (!Parse(operands, line)) {
        console.err << "caspo register: --coin takes a number, --repeat one from 1 to 1000\n"
                    << kUsage;
        return kExitUsage;
    }
    const ManagementRun ostra("register", console);
    if (!ostra) {
        return kExitFailure;
    }
    // The reason is a trace of the general level: it is switched on while the calls run.
    const std::uint64_t level = getDebugLevel();
    venit::SetDebugLevel(level | kTraceGeneral);
    const std::u16string endpoint = StoredText(keys::kMgmtEndpoint);
    int status = kExitSuccess;
    for (std::uint32_t call = 0; call < line.repeat && !InterruptWatch::Raised(); ++call) {
        const venit::CaptureSink sink;
        const RequestWatch watch(endpoint, console.err);
        Outcome outcome{.command = "register"};
        outcome.result =
            ostra->Register(line.coins.data(), static_cast<std::uint32_t>(line.coins.size()));
        outcome.interrupted = InterruptWatch::Raised();
        outcome.reason = watch.ReasonFor(outcome.result);
        outcome.what = WhatHappened(sink.Records(), outcome.details);
        status = std::max(status, Report(outcome, console));
    }
    venit::SetDebugLevel(level);
    return status;
}

}  // namespace hvx::cli
