// caspo host: the host's names and adapters as the library sees them (tools/host).
#include <string>
#include <vector>

#include "tools/cli/commands.h"
#include "tools/host/host_command.h"

namespace hvx::cli {

int RunHostCommand(const std::vector<std::string>& operands, const Console& console) {
    std::vector<std::string> args = operands;
    if (console.options.json) {
        args.emplace_back("--json");
    }
    return host_tool::RunHostCommand(args, console.out, console.err);
}

}  // namespace hvx::cli
