#include "tests/integration/cli/cli_run.h"

#include "tests/support/temp_dir.h"

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

std::string CliRun::Out() const {
    return ReadWholeFile(m_out).value_or("");
}

std::string CliRun::Err() const {
    return ReadWholeFile(m_err).value_or("");
}

CliResult RunCli(const std::vector<std::string>& arguments, const std::filesystem::path& folder) {
    CliRun run(arguments, folder);
    CliResult result;
    result.exit = run.Wait();
    result.out = run.Out();
    result.err = run.Err();
    return result;
}

}  // namespace hvx::test
