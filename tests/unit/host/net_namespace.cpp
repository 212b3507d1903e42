#include "tests/unit/host/net_namespace.h"

#include <fcntl.h>
#include <sched.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "tests/support/temp_dir.h"

namespace hvx::test {

namespace {

const char* NamespacePath(int kind) {
    return kind == CLONE_NEWNET ? "/proc/thread-self/ns/net" : "/proc/thread-self/ns/uts";
}

std::string SystemProblem(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

}  // namespace

ScopedNamespace::ScopedNamespace(int kind) : m_kind(kind) {
    m_original = ::open(NamespacePath(kind), O_RDONLY | O_CLOEXEC);
    if (m_original < 0) {
        m_problem = SystemProblem(std::string("open ") + NamespacePath(kind));
    } else if (::unshare(kind) != 0) {
        m_problem = SystemProblem("unshare (these tests run as root)");
    }
}

ScopedNamespace::~ScopedNamespace() {
    if (m_original >= 0) {
        // The thread goes back where it was; the new namespace goes with its last user.
        static_cast<void>(::setns(m_original, m_kind));
        ::close(m_original);
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
    std::string ip = "ip";
    std::string option = "-batch";
    std::string path = batch;
    char* argv[] = {ip.data(), option.data(), path.data(), nullptr};
    pid_t child = 0;
    if (::posix_spawnp(&child, "ip", nullptr, nullptr, argv, environ) != 0) {
        return "cannot run ip (iproute2)";
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return "ip -batch failed on:\n" + text;
    }
    return {};
}

}  // namespace hvx::test
