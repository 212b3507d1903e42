// caspo update check | download FILE | status: the library's update client, step by step as an
// agent runs it. check fetches the seed (conditionally), reads the offer, compares it with the
// agent's version and records a newer one; download does the same and then fetches the
// installer into FILE and has its signature verified, recording it; status reports what the
// store holds from earlier runs. The seed's URL is put together from the store's protocol, server
// and path; the installer's is the location the offer gave, recorded in the store.
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "support/config_keys.h"
#include "tools/cli/agent_store.h"
#include "tools/cli/client_objects.h"
#include "tools/cli/commands.h"
#include "tools/cli/report.h"
#include "tools/cli/request_watch.h"
#include "tools/cli/socket_bytes.h"
#include "tools/cli/wide_text.h"

namespace hvx::cli {

namespace {

constexpr const char* kUsage = "usage: caspo update check | download FILE | status\n";
constexpr std::uint32_t kNotModified = 304;

// Init, ParseSeed, IsNewer and, for a newer offer, SaveAvailableUpdate. The result of Init, or
// S_FALSE when no newer update is offered; the steps are described in `report`.
HRESULT Check(const CaspoLibrary& library, IUpdateHttp& client, std::ostringstream& report) {
    const HRESULT fetched = client.Init();
    report << "seed: status " << client.GetResponseCode();
    if (FAILED(fetched)) {
        report << (client.GetResponseCode() == kNotModified
                       ? ", not modified since the installer last recorded\n"
                       : ", not received\n");
        return fetched;
    }
    BSTR offered = nullptr;
    if (client.ParseSeed(&offered) == 0) {
        report << ", no complete offer in it\n";
        return S_FALSE;
    }
    report << "\noffered: " << TakeText(library, offered) << " (type " << client.GetUpdateType()
           << ")\n";
    if (client.IsNewer() == 0) {
        report << "newer than this agent: no\n";
        return S_FALSE;
    }
    report << "newer than this agent: yes, recorded under config/updater/available\n";
    return client.SaveAvailableUpdate();
}

// GetInstaller into `installer` (a progress line on a terminal) and, for an installer whose
// signature was accepted, SaveInstallerState; the step is described in `report`.
HRESULT FetchInstaller(IUpdateHttp& client, const std::string& installer, const RequestWatch& watch,
                       const Console& console, std::ostringstream& report) {
    const auto path = Widen(installer).value_or(u"");
    watch.Before(StoredText(keys::kUpdaterAvailableLocation));
    HRESULT result = S_OK;
    {
        std::optional<TransferProgress> progress;
        if (!console.options.json && isatty(STDERR_FILENO) != 0) {
            progress.emplace(ReceivedSinceNow(), console.err);
        }
        result = client.GetInstaller(path.c_str());
    }
    // The client's status is still the seed's when the installer's transfer failed.
    if (!watch.ReasonFor(result).empty()) {
        report << "installer: not received\n";
        return result;
    }
    report << "installer: status " << client.GetResponseCode() << ", signature "
           << (SUCCEEDED(result) ? "accepted" : "not accepted") << '\n';
    return SUCCEEDED(result) ? client.SaveInstallerState() : result;
}

// The library's update client; null, with the problem printed, when there is none.
UpdatePtr StartUpdate(const CaspoLibrary& library, const Console& console) {
    UpdatePtr client = library.Loaded() ? NewUpdate(library) : UpdatePtr(nullptr, nullptr);
    if (!client) {
        console.err << "caspo update: "
                    << (library.Loaded() ? "no update client" : library.Problem()) << '\n';
    }
    return client;
}

int RunCheck(const Console& console, const std::optional<std::string>& installer) {
    const CaspoLibrary library;
    const UpdatePtr client = StartUpdate(library, console);
    if (!client) {
        return kExitFailure;
    }
    std::ostringstream report;
    Outcome outcome{.command = installer ? "update download" : "update check"};
    const RequestWatch watch(StoredText(keys::kUpdaterProtocol) + u"://", console.err);
    outcome.result = Check(library, *client, report);
    if (installer && outcome.result == S_OK) {
        outcome.result = FetchInstaller(*client, *installer, watch, console, report);
        std::error_code missing;
        const auto size = std::filesystem::file_size(*installer, missing);
        outcome.file = FileFacts{*installer, missing ? std::nullopt : std::optional(size)};
    }
    outcome.reason = watch.ReasonFor(outcome.result);
    const std::string text = report.str();
    outcome.body = text;
    return Report(outcome, console);
}

int RunStatus(const Console& console) {
    const CaspoLibrary library;
    const UpdatePtr client = StartUpdate(library, console);
    if (!client) {
        return kExitFailure;
    }
    std::ostringstream report;
    BSTR version = nullptr;
    if (client->LoadAvailableLocation(&version) != 0) {
        report << "available update: " << TakeText(library, version)
               << " (newer than this product)\n";
    } else {
        report << "available update: none newer than this product\n";
    }
    report << "verified installer recorded: "
           << (client->LoadAvailableInstaller() != 0 ? "yes" : "no") << '\n';
    const std::string text = report.str();
    return Report(Outcome{.command = "update status", .result = S_OK, .body = text}, console);
}

}  // namespace

int RunUpdateCommand(const std::vector<std::string>& operands, const Console& console) {
    if (operands.size() == 1 && operands[0] == "check") {
        return RunCheck(console, std::nullopt);
    }
    if (operands.size() == 2 && operands[0] == "download") {
        return RunCheck(console, operands[1]);
    }
    if (operands.size() == 1 && operands[0] == "status") {
        return RunStatus(console);
    }
    console.err << "caspo update: check, download FILE or status\n" << kUsage;
    return kExitUsage;
}

}  // namespace hvx::cli
