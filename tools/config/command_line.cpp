#include "tools/config/command_line.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

namespace hvx::config_tool {

namespace {

using OptionField = std::optional<std::string> CommandLine::*;

constexpr std::array<std::pair<std::string_view, OptionField>, 3> kValueOptions{{
    {"--store", &CommandLine::store},
    {"--type", &CommandLine::type},
    {"--file", &CommandLine::file},
}};

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    ParsedCommandLine parsed;
    CommandLine& line = parsed.line;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            line.help = true;
            continue;
        }
        if (!arg.starts_with("--")) {
            line.words.push_back(arg);
            continue;
        }
        const auto* option = std::find_if(kValueOptions.begin(), kValueOptions.end(),
                                          [&arg](const auto& entry) { return entry.first == arg; });
        if (option == kValueOptions.end()) {
            parsed.problem = "unknown option " + arg;
            return parsed;
        }
        if (i + 1 == args.size()) {
            parsed.problem = arg + " needs a value";
            return parsed;
        }
        line.*(option->second) = args[++i];
    }
    return parsed;
}

}  // namespace hvx::config_tool
