#include "tests/integration/cli/cli_run.h"

namespace hvx::test {

namespace {

std::vector<std::string> CommandLine(const std::vector<std::string>& arguments) {
    std::vector<std::string> words = {CASPO_CLI_PROGRAM};
    words.insert(words.end(), arguments.begin(), arguments.end());
    return words;
}

}  // namespace

CliRun::CliRun(const std::vector<std::string>& arguments, const std::filesystem::path& folder)
    : m_out(folder / "cli.out"),
      m_err(folder / "cli.err"),
      m_process(CASPO_CLI_PROGRAM, CommandLine(arguments), {m_out, m_err}) {}

CliResult RunCli(const std::vector<std::string>& arguments, const std::filesystem::path& folder) {
    CliRun run(arguments, folder);
    // A braced list is evaluated in order: the outputs are read once the program has ended.
    return {run.Wait(), run.Out(), run.Err()};
}

}  // namespace hvx::test
