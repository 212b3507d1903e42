// caspo-config: the configuration store from the shell (see config_commands.h).
#include <iostream>
#include <string>
#include <vector>

#include "tools/config/config_commands.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return hvx::config_tool::RunConfigCommand(args, std::cout, std::cerr);
}
