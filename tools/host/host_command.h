// caspo-host [--json]: prints the host's fully qualified name, NetBIOS name and adapter
// inventory as the library sees them. Exit status 0 when every part was found, 1 when one was
// not (the report is printed all the same), 2 for a command line it does not understand.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace hvx::host_tool {

int RunHostCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace hvx::host_tool
