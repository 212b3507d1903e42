// The caspo program, run as a user runs it: arguments, its stdout and stderr captured in files,
// its exit status.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace hvx::test {

class CliRun {
public:
    // Starts `caspo` with `arguments`; its output goes to files in `folder`.
    CliRun(const std::vector<std::string>& arguments, const std::filesystem::path& folder);
    // Kills the program if it still runs.
    ~CliRun();
    CliRun(const CliRun&) = delete;
    CliRun& operator=(const CliRun&) = delete;
    CliRun(CliRun&&) = delete;
    CliRun& operator=(CliRun&&) = delete;

    bool Started() const { return m_pid > 0; }
    void Signal(int signal) const;
    // Waits for the end; the exit status, or -1 when it did not exit normally.
    int Wait();
    std::string Out() const;
    std::string Err() const;

private:
    std::filesystem::path m_out;
    std::filesystem::path m_err;
    pid_t m_pid = -1;
};

// Runs the program to its end.
struct CliResult {
    int exit = -1;
    std::string out;
    std::string err;
};
CliResult RunCli(const std::vector<std::string>& arguments, const std::filesystem::path& folder);

}  // namespace hvx::test
