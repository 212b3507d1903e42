// caspo config ...: the store tool's commands (tools/config), on the store that --store names.
#include <string>
#include <vector>

#include "tools/cli/commands.h"
#include "tools/config/config_commands.h"

namespace hvx::cli {

int RunConfigCommand(const std::vector<std::string>& operands, const Console& console) {
    std::vector<std::string> args;
    if (console.options.store) {
        args = {"--store", *console.options.store};
    }
    args.insert(args.end(), operands.begin(), operands.end());
    return config_tool::RunConfigCommand(args, console.out, console.err);
}

}  // namespace hvx::cli
