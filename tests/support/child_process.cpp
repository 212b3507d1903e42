#include "tests/support/child_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

namespace hvx::test {

namespace {

constexpr mode_t kOutputMode = 0644;
constexpr int kOutputFlags = O_WRONLY | O_CREAT | O_TRUNC;

// The file actions that send each named stream to its file.
class Redirections {
public:
    explicit Redirections(const ChildProcess::Output& output) {
        posix_spawn_file_actions_init(&m_actions);
        Add(STDOUT_FILENO, output.out);
        Add(STDERR_FILENO, output.err);
    }
    ~Redirections() { posix_spawn_file_actions_destroy(&m_actions); }
    Redirections(const Redirections&) = delete;
    Redirections& operator=(const Redirections&) = delete;
    Redirections(Redirections&&) = delete;
    Redirections& operator=(Redirections&&) = delete;

    const posix_spawn_file_actions_t* Get() const { return &m_actions; }

private:
    void Add(int stream, const std::filesystem::path& file) {
        if (!file.empty()) {
            posix_spawn_file_actions_addopen(&m_actions, stream, file.c_str(), kOutputFlags,
                                             kOutputMode);
        }
    }

    posix_spawn_file_actions_t m_actions{};
};

}  // namespace

ChildProcess::ChildProcess(const std::string& program, std::vector<std::string> arguments,
                           const Output& output) {
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const Redirections redirections(output);
    if (posix_spawn(&m_pid, program.c_str(), redirections.Get(), nullptr, argv.data(), environ) !=
        0) {
        m_pid = -1;
    }
}

ChildProcess::~ChildProcess() {
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
}

void ChildProcess::Signal(int signal) const {
    if (m_pid > 0) {
        kill(m_pid, signal);
    }
}

int ChildProcess::Wait() {
    int status = 0;
    if (m_pid <= 0 || waitpid(m_pid, &status, 0) != m_pid) {
        return -1;
    }
    m_pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool ChildProcess::Ended() {
    if (m_pid <= 0) {
        return true;
    }
    if (waitpid(m_pid, nullptr, WNOHANG) != m_pid) {
        return false;
    }
    m_pid = -1;
    return true;
}

}  // namespace hvx::test
