#include "tests/integration/cli/cli_run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <csignal>

#include "tests/support/temp_dir.h"

namespace hvx::test {

namespace {

constexpr mode_t kOutputMode = 0644;
constexpr int kOutputFlags = O_WRONLY | O_CREAT | O_TRUNC;

}  // namespace

CliRun::CliRun(const std::vector<std::string>& arguments, const std::filesystem::path& folder)
    : m_out(folder / "cli.out"), m_err(folder / "cli.err") {
    std::vector<std::string> words = {CASPO_CLI_PROGRAM};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, m_out.c_str(), kOutputFlags,
                                     kOutputMode);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, m_err.c_str(), kOutputFlags,
                                     kOutputMode);
    if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        m_pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
}

CliRun::~CliRun() {
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
}

void CliRun::Signal(int signal) const {
    if (m_pid > 0) {
        kill(m_pid, signal);
    }
}

int CliRun::Wait() {
    int status = 0;
    if (m_pid <= 0 || waitpid(m_pid, &status, 0) != m_pid) {
        return -1;
    }
    m_pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

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
