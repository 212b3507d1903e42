#include "tools/cli/cli_options.h"

#include <cstddef>
#include <string_view>

namespace hvx::cli {

namespace {

constexpr std::string_view kStoreOption = "--store";
constexpr std::string_view kStoreAssignment = "--store=";
// The store tool's words are its own: it has options of its own.
constexpr std::string_view kVerbatimCommand = "config";

enum class Taken { kNo, kYes, kMissingValue };

// Takes args[index] (and its value) when it is a global option.
Taken TakeGlobal(const std::vector<std::string>& args, std::size_t& index, GlobalOptions& options) {
    const std::string& arg = args[index];
    if (arg == kStoreOption) {
        if (index + 1 >= args.size()) {
            return Taken::kMissingValue;
        }
        options.store = args[++index];
    } else if (arg.starts_with(kStoreAssignment)) {
        options.store = arg.substr(kStoreAssignment.size());
    } else if (arg == "-v" || arg == "--verbose") {
        ++options.verbosity;
    } else if (arg == "-vv") {
        options.verbosity += 2;
    } else if (arg == "--json") {
        options.json = true;
    } else if (arg == "-h" || arg == "--help") {
        options.help = true;
    } else {
        return Taken::kNo;
    }
    return Taken::kYes;
}

}  // namespace

ParsedLine ParseLine(const std::vector<std::string>& args) {
    ParsedLine parsed;
    for (std::size_t index = 0; index < args.size(); ++index) {
        const bool verbatim = parsed.command == kVerbatimCommand;
        const Taken taken = verbatim ? Taken::kNo : TakeGlobal(args, index, parsed.options);
        if (taken == Taken::kMissingValue) {
            parsed.problem = "--store needs a path";
            return parsed;
        }
        if (taken == Taken::kYes) {
            continue;
        }
        if (parsed.command.empty()) {
            parsed.command = args[index];
        } else {
            parsed.operands.push_back(args[index]);
        }
    }
    return parsed;
}

}  // namespace hvx::cli
