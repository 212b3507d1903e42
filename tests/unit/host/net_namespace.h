// Fresh namespaces for tests and benchmarks of the host's names and adapters: the calling thread
// moves into a new network or host-name namespace and back. Needs root (CAP_SYS_ADMIN).
#pragma once

#include <string>
#include <vector>

#include "platform/posix/unique_fd.h"

namespace hvx::test {

class ScopedNamespace {
public:
    // `kind` is CLONE_NEWNET or CLONE_NEWUTS.
    explicit ScopedNamespace(int kind);
    ~ScopedNamespace();

    // Empty when the thread is in the new namespace; else why it is not.
    const std::string& problem() const { return m_problem; }

private:
    int m_kind;
    os::detail::UniqueFd m_original;
    std::string m_problem;
};

// A veth pair: `name` with the given MAC and IPv4 addresses (in this order), and its peer
// `name` + "p" without address.
struct VethPair {
    std::string name;
    std::string mac;
    std::vector<std::string> addresses;  // "192.0.2.10/24"
    bool up = true;
    bool peerUp = true;
};

// `ip -batch` commands that make the pair.
std::vector<std::string> VethCommands(const VethPair& pair);

// Runs the commands with `ip -batch` in the calling thread's namespace. Empty when they all
// succeeded; else what failed.
std::string RunIpCommands(const std::vector<std::string>& commands);

}  // namespace hvx::test
