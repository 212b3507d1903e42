#include "tests/support/peer_process.h"

#include <chrono>
#include <csignal>
#include <stdexcept>
#include <thread>

#include "tests/support/local_port.h"

namespace hvx::test {

namespace {

constexpr auto kStartLimit = std::chrono::seconds(10);
constexpr auto kStopLimit = std::chrono::seconds(5);
constexpr auto kPollInterval = std::chrono::milliseconds(20);

}  // namespace

PeerProcess::PeerProcess(const std::string& program, std::vector<std::string> arguments,
                         std::uint16_t port, const std::function<std::string()>& log) {
    const std::string name = arguments.empty() ? program : arguments.front();
    m_process.emplace(program, std::move(arguments));
    if (!m_process->Running()) {
        throw std::runtime_error(name + " could not be started");
    }
    const auto limit = std::chrono::steady_clock::now() + kStartLimit;
    while (!Accepts(port)) {
        if (m_process->Ended()) {
            m_process.reset();
            throw std::runtime_error(name + " ended at start: " + log());
        }
        if (std::chrono::steady_clock::now() > limit) {
            Stop();
            throw std::runtime_error(name + " did not come up: " + log());
        }
        std::this_thread::sleep_for(kPollInterval);
    }
}

PeerProcess::~PeerProcess() {
    Stop();
}

// Asked to end first; killed (by the child's owner) only when it does not within the limit.
void PeerProcess::Stop() {
    if (!m_process) {
        return;
    }
    m_process->Signal(SIGTERM);
    const auto limit = std::chrono::steady_clock::now() + kStopLimit;
    while (!m_process->Ended() && std::chrono::steady_clock::now() <= limit) {
        std::this_thread::sleep_for(kPollInterval);
    }
    m_process.reset();
}

}  // namespace hvx::test
