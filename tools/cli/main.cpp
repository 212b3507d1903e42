// caspo: the command-line front end of the library. It loads libcaspo at run time and uses only
// its exports, as an agent component does; see the usage below and tools/cli/README.md.
#include <cstdlib>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "platform/environment.h"
#include "siblings/venit/venit.h"
#include "support/trace_levels.h"
#include "tools/cli/cli_options.h"
#include "tools/cli/commands.h"

namespace {

constexpr const char* kUsage =
    "usage: caspo [--store PATH] [-v|-vv] [--json] COMMAND ...\n"
    "  get URL [-H 'Name: value']...                      GET; prints status, result, body\n"
    "  post URL [-F name=value]... [-H 'Name: value']...  POST of a form\n"
    "  download URL FILE                                  the body into FILE\n"
    "  config ...                                         the configuration store (config help)\n"
    "  host                                               the host's names and adapters\n"
    "  register [--coin N]... [--repeat N]                registers with the management backend\n"
    "  sync                                               synchronises the agent's identity\n"
    "  event ID TYPE DATA                                 sends an event\n"
    "  policy SERIAL FILE                                 fetches a policy into FILE\n"
    "  upload URL FILE [--meta FILE] [--field k=v]... [--user U[:P]]\n"
    "                                                     a multipart upload with identity\n"
    "  inventory KIND FILE                                an inventory report (KIND 0-3)\n"
    "  update check|download FILE|status                  the update check, step by step\n"
    "--store PATH picks the configuration store; -v traces the library's progress on stderr,\n"
    "-vv every trace; --json prints one JSON object.\n";
constexpr const char* kStoreVariable = "TOLVA_STORE";

using CommandRunner = int (*)(const std::vector<std::string>&, const hvx::cli::Console&);
const std::map<std::string, CommandRunner>& ManagementCommands() {
    static const std::map<std::string, CommandRunner> commands = {
        {"register", &hvx::cli::RunRegisterCommand},
        {"sync", &hvx::cli::RunSyncCommand},
        {"event", &hvx::cli::RunEventCommand},
        {"policy", &hvx::cli::RunPolicyCommand},
    };
    return commands;
}

// The library reads the store path when it first loads the store, so it is set before.
void ApplyGlobals(const hvx::cli::GlobalOptions& options) {
    if (options.store) {
        hvx::os::SetEnvironmentValue(kStoreVariable, options.store->c_str());
    }
    if (options.verbosity > 0) {
        venit::SetDebugLevel(options.verbosity > 1 ? hvx::kTraceAll
                                                   : hvx::kTraceGeneral | hvx::kTraceTls);
        venit::SetLogToStderr(true);
    }
}

int Dispatch(const hvx::cli::ParsedLine& line, const hvx::cli::Console& console) {
    const std::string& command = line.command;
    if (command == "get" || command == "post") {
        return hvx::cli::RunRequestCommand(command, line.operands, console);
    }
    if (command == "download") {
        return hvx::cli::RunDownloadCommand(line.operands, console);
    }
    if (command == "config") {
        return hvx::cli::RunConfigCommand(line.operands, console);
    }
    if (command == "host") {
        return hvx::cli::RunHostCommand(line.operands, console);
    }
    if (const auto management = ManagementCommands().find(command);
        management != ManagementCommands().end()) {
        return management->second(line.operands, console);
    }
    if (command == "upload") {
        return hvx::cli::RunUploadCommand(line.operands, console);
    }
    if (command == "inventory") {
        return hvx::cli::RunInventoryCommand(line.operands, console);
    }
    if (command == "update") {
        return hvx::cli::RunUpdateCommand(line.operands, console);
    }
    console.err << "caspo: unknown command \"" << command << "\"\n" << kUsage;
    return hvx::cli::kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    const hvx::cli::ParsedLine line =
        hvx::cli::ParseLine(std::vector<std::string>(argv + 1, argv + argc));
    if (line.options.help) {
        std::cout << kUsage;
        return hvx::cli::kExitSuccess;
    }
    if (!line.problem.empty() || line.command.empty()) {
        std::cerr << "caspo: " << (line.problem.empty() ? "a command is needed" : line.problem)
                  << '\n'
                  << kUsage;
        return hvx::cli::kExitUsage;
    }
    ApplyGlobals(line.options);
    return Dispatch(line, hvx::cli::Console{line.options, std::cout, std::cerr});
}
