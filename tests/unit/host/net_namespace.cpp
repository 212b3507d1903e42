#include "tests/unit/host/net_namespace.h"

#include <fcntl.h>
#include <sched.h>

#include <cerrno>
#include <cstring>

#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"

namespace hvx::test {

namespace {

constexpr const char* kIpProgram = "/bin/ip";

const char* NamespacePath(int kind) {
    return kind == CLONE_NEWNET ? "/proc/thread-self/ns/net" : "/proc/thread-self/ns/uts";
}

std::string SystemProblem(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

}  // namespace

ScopedNamespace::ScopedNamespace(int kind)
    : m_kind(kind), m_original(::open(NamespacePath(kind), O_RDONLY | O_CLOEXEC)) {
    if (!m_original.Valid()) {
        m_problem = SystemProblem(std::string("open ") + NamespacePath(kind));
    } else if (::unshare(kind) != 0) {
        m_problem = SystemProblem("unshare (these tests run as root)");
    }
}

ScopedNamespace::~ScopedNamespace() {
    if (m_original.Valid()) {
        // The thread goes back where it was; the new namespace goes with its last user.
        static_cast<void>(::setns(m_original.Get(), m_kind));
    }
}

std::vector<std::string> VethCommands(const VethPair& pair) {
    std::vector<std::string> commands{"link add " + pair.name + " address " + pair.mac +
                                      " type veth peer name " + pair.name + "p"};
    for (const std::string& address : pair.addresses) {
        commands.push_back("addr add " + address + " dev " + pair.name);
    }
    if (pair.up) {
        commands.push_back("link set " + pair.name + " up");
    }
    if (pair.peerUp) {
        commands.push_back("link set " + pair.name + "p up");
    }
    return commands;
}

std::string RunIpCommands(const std::vector<std::string>& commands) {
    const TempDir dir;
    const std::string batch = (dir / "ip.batch").string();
    std::string text;
    for (const std::string& command : commands) {
        text += command + "\n";
    }
    WriteFile(batch, text);
    ChildProcess ip(kIpProgram, {kIpProgram, "-batch", batch});
    if (!ip.Running()) {
        return "cannot run " + std::string(kIpProgram) + " (iproute2)";
    }
    return ip.Wait() == 0 ? std::string() : "ip -batch failed on:\n" + text;
}

}  // namespace hvx::test
