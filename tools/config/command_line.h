// caspo-config's command line: [--store PATH] <command> <operands> [--type T] [--file PATH].
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace hvx::config_tool {

struct CommandLine {
    std::optional<std::string> store;  // --store
    std::optional<std::string> type;   // --type
    std::optional<std::string> file;   // --file
    bool help = false;                 // --help or -h
    std::vector<std::string> words;    // the command, then its operands
};

// The parsed line, or (problem not empty) what is wrong with it.
struct ParsedCommandLine {
    CommandLine line;
    std::string problem;
};

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

}  // namespace hvx::config_tool
