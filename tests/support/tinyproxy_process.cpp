#include "tests/support/tinyproxy_process.h"

#include <unistd.h>

#include <vector>

#include "tests/support/local_port.h"

namespace hvx::test {

namespace {

constexpr const char* kProgram = "/usr/bin/tinyproxy";

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
    m_process.emplace(kProgram, std::vector<std::string>{"tinyproxy", "-d", "-c", configuration},
                      m_port, [this] { return Log(); });
}

void TinyproxyProcess::Stop() {
    m_process.reset();
}

}  // namespace hvx::test
