#include "tools/config/config_commands.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <optional>
#include <string_view>

#include "siblings/tolva/store.h"
#include "siblings/tolva/store_path.h"
#include "siblings/venit/venit.h"
#include "tools/common/whole_file.h"
#include "tools/config/command_line.h"
#include "tools/config/config_json.h"
#include "tools/config/value_text.h"

namespace hvx::config_tool {

namespace {

constexpr const char* kUsage =
    "usage: caspo-config [--store PATH] <command>\n"
    "  get KEY\n"
    "  set KEY VALUE [--type wide|narrow|dword|cert]   (--file PATH reads VALUE from a file)\n"
    "  delete KEY\n"
    "  list [PREFIX]\n"
    "  import FILE.json\n"
    "  export [PREFIX]\n";

// What went wrong, in one line; nothing when the command succeeded.
using Failure = std::optional<std::string>;

struct Context {
    tolva::CStore& store;
    const CommandLine& line;
    std::ostream& out;

    const std::string& Operand(std::size_t index) const { return line.words.at(index + 1); }
    std::size_t OperandCount() const { return line.words.size() - 1; }
};

std::string WithLogHint(const std::string& message) {
    const std::string log = venit::GetLogFile();
    return log.empty() ? message : message + " (details in " + log + ")";
}

Failure SaveStore(tolva::CStore& store) {
    if (store.Save()) {
        return std::nullopt;
    }
    return WithLogHint("cannot save the store " + store.Path());
}

Failure Get(Context& context) {
    const std::string& key = context.Operand(0);
    const auto value = context.store.Find(key);
    if (!value) {
        return "key " + key + " is absent";
    }
    const std::string text = ValueText(*value);
    context.out << text << (text.ends_with('\n') ? "" : "\n");
    return std::nullopt;
}

// VALUE from the command line, or the content of --file.
std::optional<std::string> SetValueText(const Context& context, Failure& failure) {
    const bool fromFile = context.line.file.has_value();
    if (context.OperandCount() != (fromFile ? 1U : 2U)) {
        failure = "set takes KEY and VALUE, or KEY and --file PATH";
        return std::nullopt;
    }
    if (!fromFile) {
        return context.Operand(1);
    }
    auto content = tools::ReadWholeFile(*context.line.file);
    if (!content) {
        failure = "cannot read " + *context.line.file;
    }
    return content;
}

Failure Set(Context& context) {
    const auto type = tolva::ParseTypeName(context.line.type.value_or("wide"));
    if (!type) {
        return "unknown type " + *context.line.type + " (wide, narrow, dword or cert)";
    }
    Failure failure;
    const auto text = SetValueText(context, failure);
    if (!text) {
        return failure;
    }
    auto parsed = ParseValue(*type, *text);
    if (!parsed.value) {
        return "bad value for " + context.Operand(0) + ": " + parsed.problem;
    }
    context.store.Put(context.Operand(0), *parsed.value, tolva::Persist::Saved);
    return SaveStore(context.store);
}

Failure Delete(Context& context) {
    const std::string& key = context.Operand(0);
    if (context.store.RemoveTree(key, tolva::Persist::Saved) == 0) {
        return "key " + key + " is absent";
    }
    return SaveStore(context.store);
}

std::string_view PrefixOperand(const Context& context) {
    return context.OperandCount() == 0 ? std::string_view() : context.Operand(0);
}

Failure List(Context& context) {
    for (const auto& [key, value] : context.store.List(PrefixOperand(context))) {
        context.out << key << ' ' << tolva::TypeName(value.type) << ' ' << OneLineValueText(value)
                    << '\n';
    }
    return std::nullopt;
}

Failure Import(Context& context) {
    const std::string& path = context.Operand(0);
    const auto text = tools::ReadWholeFile(path);
    if (!text) {
        return "cannot read " + path;
    }
    const auto imported = ParseImportJson(*text);
    if (!imported.problem.empty()) {
        return path + ": " + imported.problem;
    }
    for (const auto& [key, value] : imported.entries) {
        context.store.Put(key, value, tolva::Persist::Saved);
    }
    return SaveStore(context.store);
}

Failure Export(Context& context) {
    context.out << ExportJson(context.store.List(PrefixOperand(context)));
    return std::nullopt;
}

struct Command {
    std::string_view name;
    std::size_t minOperands;
    std::size_t maxOperands;
    bool takesKey;  // the first operand is a key
    Failure (*run)(Context&);
};

constexpr std::array<Command, 6> kCommands{{
    {"get", 1, 1, true, Get},
    {"set", 1, 2, true, Set},
    {"delete", 1, 1, true, Delete},
    {"list", 0, 1, false, List},
    {"import", 1, 1, false, Import},
    {"export", 0, 1, false, Export},
}};

// The command named on the line, after checking its operands and options.
const Command* FindCommand(const CommandLine& line, Failure& failure) {
    if (line.words.empty()) {
        failure = "no command (try --help)";
        return nullptr;
    }
    const auto* command =
        std::find_if(kCommands.begin(), kCommands.end(),
                     [&line](const Command& c) { return c.name == line.words[0]; });
    const std::size_t operands = line.words.size() - 1;
    if (command == kCommands.end()) {
        failure = "unknown command " + line.words[0] + " (try --help)";
    } else if (operands < command->minOperands || operands > command->maxOperands) {
        failure = "wrong number of operands for " + line.words[0] + " (try --help)";
    } else if (command->name != "set" && (line.type || line.file)) {
        failure = "--type and --file go with set only";
    } else if (command->takesKey && !KeyProblemText(line.words[1]).empty()) {
        failure = KeyProblemText(line.words[1]);
    }
    return failure ? nullptr : command;
}

Failure Run(const std::vector<std::string>& args, std::ostream& out) {
    const auto parsed = ParseCommandLine(args);
    if (!parsed.problem.empty()) {
        return parsed.problem;
    }
    if (parsed.line.help) {
        out << kUsage;
        return std::nullopt;
    }
    Failure failure;
    const Command* command = FindCommand(parsed.line, failure);
    if (command == nullptr) {
        return failure;
    }
    tolva::CStore store(parsed.line.store.value_or(tolva::ResolveStorePath()));
    if (store.Path().empty()) {
        return "no store: give --store PATH or set " + std::string(tolva::kStorePathVariable);
    }
    if (!store.Load()) {
        return WithLogHint("cannot read the store " + store.Path());
    }
    Context context{store, parsed.line, out};
    return command->run(context);
}

}  // namespace

int RunConfigCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const Failure failure = Run(args, out);
    if (failure) {
        err << "caspo-config: " << *failure << '\n';
        return 1;
    }
    return 0;
}

}  // namespace hvx::config_tool
