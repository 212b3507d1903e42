// The commands of `caspo`, one file each. Each takes the command's own words and prints on the
// console; the result is the program's exit status.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "tools/cli/cli_options.h"

namespace hvx::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
// 128 + SIGINT, the status a shell reports for a program ended by Ctrl-C.
inline constexpr int kExitInterrupted = 130;

struct Console {
    const GlobalOptions& options;
    std::ostream& out;
    std::ostream& err;
};

// get URL [-H 'Name: value']...; post URL [-F name=value]... [-H 'Name: value']...
int RunRequestCommand(const std::string& command, const std::vector<std::string>& operands,
                      const Console& console);
// download URL FILE
int RunDownloadCommand(const std::vector<std::string>& operands, const Console& console);
// config ...: the store tool's commands (tools/config).
int RunConfigCommand(const std::vector<std::string>& operands, const Console& console);
// The management backend: register [--coin N]... [--repeat N]; sync; event ID TYPE DATA;
// policy SERIAL FILE.
int RunRegisterCommand(const std::vector<std::string>& operands, const Console& console);
int RunSyncCommand(const std::vector<std::string>& operands, const Console& console);
int RunEventCommand(const std::vector<std::string>& operands, const Console& console);
int RunPolicyCommand(const std::vector<std::string>& operands, const Console& console);
// host: the host's names and adapters (tools/host).
int RunHostCommand(const std::vector<std::string>& operands, const Console& console);
// upload URL FILE [--meta FILE] [--field name=value]... [--user USER[:PASSWORD]]
int RunUploadCommand(const std::vector<std::string>& operands, const Console& console);
// inventory KIND FILE
int RunInventoryCommand(const std::vector<std::string>& operands, const Console& console);
// update check | download FILE | status
int RunUpdateCommand(const std::vector<std::string>& operands, const Console& console);

}  // namespace hvx::cli
