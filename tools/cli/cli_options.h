// The caspo command line: global options, a command, and the command's own words.
//
//   caspo [--store PATH] [-v|-vv] [--json] COMMAND ...
//
// Global options may also follow the command, except after `config`, whose words all go to the
// store tool as they are.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace hvx::cli {

struct GlobalOptions {
    std::optional<std::string> store;  // --store PATH
    int verbosity = 0;                 // one per v: -v, -vv, --verbose
    bool json = false;                 // --json
    bool help = false;                 // -h, --help
};

struct ParsedLine {
    GlobalOptions options;
    std::string command;                // empty when none was given
    std::vector<std::string> operands;  // the command's own words, in order
    std::string problem;                // what is wrong with the line; empty when nothing
};

// `args` without the program name.
ParsedLine ParseLine(const std::vector<std::string>& args);

}  // namespace hvx::cli
