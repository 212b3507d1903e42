// A real peer for a test (tinyproxy, nginx, ...): a program started in the foreground that
// serves on a port of 127.0.0.1 chosen at run time, asked to end (SIGTERM) and waited for when
// the object goes, and killed only when it does not end in time. Nothing is left running.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/child_process.h"

namespace hvx::test {

class PeerProcess {
public:
    // Starts `program` and waits until it accepts connections on `port`. Throws
    // std::runtime_error, with the peer's `log`, when it does not come up.
    PeerProcess(const std::string& program, std::vector<std::string> arguments, std::uint16_t port,
                const std::function<std::string()>& log);
    ~PeerProcess();
    PeerProcess(const PeerProcess&) = delete;
    PeerProcess& operator=(const PeerProcess&) = delete;
    PeerProcess(PeerProcess&&) = delete;
    PeerProcess& operator=(PeerProcess&&) = delete;

private:
    void Stop();

    std::optional<ChildProcess> m_process;
};

}  // namespace hvx::test
