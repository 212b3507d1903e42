// caspo-host: the host's identity as caspo sees it (see host_command.h).
#include <iostream>
#include <string>
#include <vector>

#include "tools/host/host_command.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return hvx::host_tool::RunHostCommand(args, std::cout, std::cerr);
}
