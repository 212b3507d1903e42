#include "tests/support/child_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <memory>
#include <utility>

namespace hvx::test {

namespace {

constexpr mode_t kOutputMode = 0644;
constexpr int kOutputFlags = O_WRONLY | O_CREAT | O_TRUNC;

using FileActions =
    std::unique_ptr<posix_spawn_file_actions_t, decltype([](posix_spawn_file_actions_t* actions) {
                        posix_spawn_file_actions_destroy(actions);
                    })>;

// The file actions that send each named stream to its file, kept in `storage`.
FileActions Redirections(const ChildProcess::Output& output, posix_spawn_file_actions_t& storage) {
    posix_spawn_file_actions_init(&storage);
    FileActions actions(&storage);
    for (const auto& [stream, file] :
         {std::pair{STDOUT_FILENO, &output.out}, {STDERR_FILENO, &output.err}}) {
        if (!file->empty()) {
            posix_spawn_file_actions_addopen(&storage, stream, file->c_str(), kOutputFlags,
                                             kOutputMode);
        }
    }
    return actions;
}

pid_t Pid(std::intptr_t process) {
    return static_cast<pid_t>(process);
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, std::vector<std::string> arguments,
                           const Output& output) {
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t storage{};
    const FileActions actions = Redirections(output, storage);
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), actions.get(), nullptr, argv.data(), environ) == 0) {
        m_process = pid;
    }
}

ChildProcess::~ChildProcess() {
    if (m_process != kNone) {
        kill(Pid(m_process), SIGKILL);
        waitpid(Pid(m_process), nullptr, 0);
    }
}

void ChildProcess::Signal(int signal) const {
    if (m_process != kNone) {
        kill(Pid(m_process), signal);
    }
}

int ChildProcess::Wait() {
    int status = 0;
    if (m_process == kNone || waitpid(Pid(m_process), &status, 0) != Pid(m_process)) {
        return -1;
    }
    m_process = kNone;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool ChildProcess::Ended() {
    if (m_process == kNone) {
        return true;
    }
    if (waitpid(Pid(m_process), nullptr, WNOHANG) != Pid(m_process)) {
        return false;
    }
    m_process = kNone;
    return true;
}

}  // namespace hvx::test
