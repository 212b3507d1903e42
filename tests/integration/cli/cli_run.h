// The caspo program, run as a user runs it: arguments, its stdout and stderr captured in files,
// its exit status.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"

namespace hvx::test {

class CliRun {
public:
    // Starts `caspo` with `arguments`; its output goes to files in `folder`. The program is
    // killed if it still runs when the object goes.
    CliRun(const std::vector<std::string>& arguments, const std::filesystem::path& folder);

    bool Started() const { return m_process.Running(); }
    void Signal(int signal) const { m_process.Signal(signal); }
    // Waits for the end; the exit status, or -1 when it did not exit normally.
    int Wait() { return m_process.Wait(); }
    std::string Out() const { return ReadWholeFile(m_out).value_or(""); }
    std::string Err() const { return ReadWholeFile(m_err).value_or(""); }

private:
    std::filesystem::path m_out;
    std::filesystem::path m_err;
    ChildProcess m_process;
};

// Runs the program to its end.
struct CliResult {
    int exit = -1;
    std::string out;
    std::string err;
};
CliResult RunCli(const std::vector<std::string>& arguments, const std::filesystem::path& folder);

}  // namespace hvx::test
