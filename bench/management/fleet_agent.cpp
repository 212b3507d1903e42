// One agent of the fleet simulation (fleet_bench starts them): a management client on a machine
// of its own making, calling Register every PERIOD ms for DURATION ms against the management
// endpoint URL, with the default rate limit and a window of WINDOW ms. Its store is in memory;
// its transfer engine is the real one.
//
//   fleet_agent URL CA_FILE MODE INDEX PERIOD DURATION WINDOW
//
// MODE: "steady" (nothing changes), "hostname" (a new host name at every call), "adapter" (a new
// MAC address at every call). Prints one JSON line: the agent's attempts, each as [ms since its
// start when the call began, whether it sent, the limiter's count afterwards, the result code,
// whether the limiter started over ("Resetting rate-limiting.")].
#include <json/json.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "clients/management/ostra_http.h"
#include "platform/module.h"
#include "siblings/venit/venit.h"
#include "support/config_keys.h"
#include "support/config_singleton.h"
#include "support/trace_levels.h"
#include "tests/support/fake_config.h"
#include "tools/common/json_text.h"
#include "tools/common/whole_file.h"

namespace {

constexpr int kArguments = 8;
constexpr const char* kSent = "hvx::COstraHttp::Register: registering, reason: ";
constexpr const char* kReset = "Resetting rate-limiting.";

hvx::test::FakeConfig* g_store = nullptr;

hvx::IConfig* CreateStore() {
    g_store = new hvx::test::FakeConfig();
    return g_store;
}

struct Machine {
    std::string mode;
    int call = 0;
    std::u16string Host() const {
        const std::string name =
            mode == "hostname" ? "agent-" + std::to_string(call) + ".fleet" : "agent.fleet";
        return {name.begin(), name.end()};
    }
    hvx::NicInventory Adapters() const {
        const int last = mode == "adapter" ? call % 256 : 1;
        constexpr const char* kDigits = "0123456789abcdef";
        const std::string text =
            std::string("02:00:00:00:00:") + kDigits[(last >> 4) & 0xF] + kDigits[last & 0xF];
        return {{2, hvx::NicRecord{u"eth0", u"eth0", u"192.0.2.10", u"",
                                   std::u16string(text.begin(), text.end()), 2, 1}}};
    }
};

hvx::OstraEnvironment Environment(Machine& machine) {
    hvx::OstraEnvironment env = hvx::OstraEnvironment::System();
    env.computerName = [&machine](COMPUTER_NAME_FORMAT, std::u16string& name) {
        name = machine.Host();
        return TRUE;
    };
    env.networkInfo = [&machine](hvx::NicInventory& inventory) {
        inventory = machine.Adapters();
        return S_OK;
    };
    return env;
}

void Configure(const std::string& url, const std::string& ca, int index, int window) {
    const std::u16string base(url.begin(), url.end());
    const std::string guid = "00000000-0000-4000-8000-" + std::to_string(100000000000 + index);
    g_store->PutWide(hvx::keys::kMgmtEndpoint, base + u"/mgmt/");
    g_store->PutWide(hvx::keys::kEventEndpoint, base + u"/event");
    g_store->PutWide(hvx::keys::kAgentUuid, std::u16string(guid.begin(), guid.end()));
    g_store->PutWide(hvx::keys::kAffiliateUuid, u"fleet-affiliate");
    g_store->PutWide(hvx::keys::kBusinessUuid, u"fleet-business");
    g_store->PutWide(hvx::keys::kInstallToken, u"fleet-token");
    g_store->PutCertificates(hvx::keys::kTrustedCerts, ca);
    g_store->PutDword(hvx::keys::kVerifyHost, 1);
    g_store->PutDword(hvx::keys::kVerifyPeer, 1);
    // The default rate settings, with a shortened window.
    g_store->PutDword(hvx::keys::kRateInterval, static_cast<std::uint32_t>(window));
}

}  // namespace

// NOLINTBEGIN(cert-err33-c): a failed write of the report is not worth reporting.
int main(int argc, char** argv) {
    if (argc != kArguments) {
        std::fprintf(stderr, "usage: fleet_agent URL CA_FILE MODE INDEX PERIOD DURATION WINDOW\n");
        return 2;
    }
    const auto ca = hvx::tools::ReadWholeFile(argv[2]);
    const int index = std::stoi(argv[4]);
    const auto period = std::chrono::milliseconds(std::stoi(argv[5]));
    const auto duration = std::chrono::milliseconds(std::stoi(argv[6]));
    if (!ca) {
        std::fprintf(stderr, "fleet_agent: cannot read %s\n", argv[2]);
        return 1;
    }
    hvx::os::RegisterBuiltinModule(
        u"tolva.dll", {{"CreateConfigClassInstance", reinterpret_cast<void*>(&CreateStore)}});
    if (hvx::CConfigSingleton::GetInstance() == nullptr) {
        return 1;
    }
    Configure(argv[1], *ca, index, std::stoi(argv[7]));
    venit::SetLogFile("");
    venit::SetDebugLevel(hvx::kTraceGeneral);

    Machine machine{argv[3]};
    hvx::COstraHttp client(Environment(machine));
    static_cast<void>(client.Init({}, 0));
    Json::Value attempts(Json::arrayValue);
    const auto start = std::chrono::steady_clock::now();
    for (auto next = start; next - start < duration; next += period) {
        std::this_thread::sleep_until(next);
        ++machine.call;
        const auto called = std::chrono::steady_clock::now();
        const venit::CaptureSink sink;
        const HRESULT result = client.Register(nullptr, 0);
        bool sent = false;
        bool reset = false;
        for (const venit::Record& record : sink.Records()) {
            sent = sent || record.text.starts_with(kSent);
            reset = reset || record.text == kReset;
        }
        Json::Value attempt(Json::arrayValue);
        attempt.append(Json::Int64(
            std::chrono::duration_cast<std::chrono::milliseconds>(called - start).count()));
        attempt.append(sent);
        attempt.append(client.RateCount());
        attempt.append(static_cast<std::uint32_t>(result));
        attempt.append(reset);
        attempts.append(std::move(attempt));
    }
    Json::Value report(Json::objectValue);
    report["agent"] = index;
    report["mode"] = argv[3];
    report["attempts"] = std::move(attempts);
    std::printf("%s\n", hvx::tools::CompactJson(report).c_str());
    return 0;
}
// NOLINTEND(cert-err33-c)
