// caspo-config's commands, kept apart from main() so that another front end can run them.
//
//   [--store PATH] get KEY
//   [--store PATH] set KEY VALUE [--type wide|narrow|dword|cert]   (or --file PATH for VALUE)
//   [--store PATH] delete KEY                                      (the key and its subtree)
//   [--store PATH] list [PREFIX]                                   (key type value, one a line)
//   [--store PATH] import FILE.json
//   [--store PATH] export [PREFIX]                                 (JSON on `out`)
//
// Without --store the store is found as tolva finds it (TOLVA_STORE, then the default).
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace hvx::config_tool {

// Runs one command line (the arguments after the program name). 0 on success; 1 with a
// one-line message on `err` otherwise: unknown command, bad key or value, absent key, or a
// store that cannot be read or saved (tolva's log says why).
int RunConfigCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace hvx::config_tool
