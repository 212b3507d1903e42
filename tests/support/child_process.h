// A program started for a test (posix_spawn; CreateProcessW on Windows), its standard output and
// error in files when asked; killed and waited for when the object goes, so nothing is left
// running.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace hvx::test {

class ChildProcess {
public:
    // Where the program's output goes; an empty path leaves that stream the test's own.
    struct Output {
        std::filesystem::path out;
        std::filesystem::path err;
    };

    // Starts `program` with `arguments` (argv[0] first) and the test's environment.
    ChildProcess(const std::string& program, std::vector<std::string> arguments,
                 const Output& output = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ChildProcess(ChildProcess&&) = delete;
    ChildProcess& operator=(ChildProcess&&) = delete;

    // Whether it was started and has not been waited for.
    bool Running() const { return m_process != kNone; }
    // Sends the signal (POSIX); on Windows any signal ends the program (TerminateProcess).
    void Signal(int signal) const;
    // Waits for the end: the exit status, or -1 when it did not exit by itself.
    int Wait();
    // Whether it has ended, without waiting for it.
    bool Ended();

private:
    // The process id (POSIX) or the process handle (Windows); kNone when there is none.
    static constexpr std::intptr_t kNone = -1;
    std::intptr_t m_process = kNone;
};

}  // namespace hvx::test
