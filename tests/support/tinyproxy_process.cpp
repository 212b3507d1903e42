#include "tests/support/tinyproxy_process.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/posix/unique_fd.h"

namespace hvx::test {

namespace {

constexpr const char* kProgram = "/usr/bin/tinyproxy";
constexpr auto kStartLimit = std::chrono::seconds(10);
constexpr auto kStopLimit = std::chrono::seconds(5);
constexpr auto kPollInterval = std::chrono::milliseconds(20);

using Socket = os::detail::UniqueFd;

sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A port nobody listens on right now: the system picks it for a socket that is closed again.
std::uint16_t FreePort() {
    const Socket probe(::socket(AF_INET, SOCK_STREAM, 0));
    sockaddr_in address = Loopback(0);
    socklen_t length = sizeof address;
    if (probe.Get() < 0 ||
        ::bind(probe.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(probe.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("no free port for the proxy");
    }
    return ntohs(address.sin_port);
}

bool Accepts(std::uint16_t port) {
    const Socket client(::socket(AF_INET, SOCK_STREAM, 0));
    const sockaddr_in address = Loopback(port);
    return client.Get() >= 0 && ::connect(client.Get(), reinterpret_cast<const sockaddr*>(&address),
                                          sizeof address) == 0;
}

}  // namespace

TinyproxyProcess::TinyproxyProcess(const std::optional<ProxyCredentials>& credentials)
    : m_port(FreePort()) {
    WriteConfiguration(credentials);
    Start();
}

TinyproxyProcess::~TinyproxyProcess() {
    Stop();
}

bool TinyproxyProcess::Installed() {
    return ::access(kProgram, X_OK) == 0;
}

std::string TinyproxyProcess::Log() const {
    return ReadWholeFile(m_folder / "tinyproxy.log").value_or("");
}

void TinyproxyProcess::WriteConfiguration(
    const std::optional<ProxyCredentials>& credentials) const {
    std::string text = "Port " + std::to_string(m_port) +
                       "\n"
                       "Listen 127.0.0.1\n"
                       "Allow 127.0.0.1\n"
                       "Timeout 30\n"
                       "MaxClients 20\n"
                       "LogLevel Info\n"
                       "LogFile \"" +
                       (m_folder / "tinyproxy.log").string() + "\"\n";
    if (credentials) {
        text += "BasicAuth " + credentials->user + " " + credentials->password + "\n";
    }
    WriteFile(m_folder / "tinyproxy.conf", text);
}

void TinyproxyProcess::Start() {
    const std::string configuration = (m_folder / "tinyproxy.conf").string();
    m_process.emplace(kProgram, std::vector<std::string>{"tinyproxy", "-d", "-c", configuration});
    if (!m_process->Running()) {
        throw std::runtime_error("tinyproxy could not be started");
    }
    const auto limit = std::chrono::steady_clock::now() + kStartLimit;
    while (!Accepts(m_port)) {
        if (m_process->Ended()) {
            throw std::runtime_error("tinyproxy ended at start: " + Log());
        }
        if (std::chrono::steady_clock::now() > limit) {
            Stop();
            throw std::runtime_error("tinyproxy did not come up: " + Log());
        }
        std::this_thread::sleep_for(kPollInterval);
    }
}

// Asked to end first; killed only when it does not within the limit.
void TinyproxyProcess::Stop() {
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
