// caspo: the command-line front end of the library. It loads libcaspo at run time and uses only
// its exports, as an agent component does; see the usage below and tools/cli/README.md.
#include <cstdlib>
#include <iostream>
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
    "--store PATH picks the configuration store; -v traces the library's progress on stderr,\n"
    "-vv every trace; --json prints one JSON object.\n";
constexpr const char* kStoreVariable = "TOLVA_STORE";

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
