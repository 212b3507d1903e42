// A tinyproxy (the Debian package) for one test: started in the foreground on 127.0.0.1, on a port
// chosen at run time, with a configuration file the fixture writes into a temporary folder, and
// stopped and waited for when the object goes. Nothing is left running.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "tests/support/peer_process.h"
#include "tests/support/temp_dir.h"

namespace hvx::test {

struct ProxyCredentials {
    std::string user;
    std::string password;
};

class TinyproxyProcess {
public:
    // Starts the proxy and waits until it accepts connections. With credentials, every request
    // needs them (tinyproxy's BasicAuth). Throws std::runtime_error when it does not come up.
    explicit TinyproxyProcess(const std::optional<ProxyCredentials>& credentials = std::nullopt);
    ~TinyproxyProcess();

    // Whether the tinyproxy program is installed.
    static bool Installed();

    std::uint16_t Port() const { return m_port; }
    // The proxy's own log, for failure messages.
    std::string Log() const;

private:
    void WriteConfiguration(const std::optional<ProxyCredentials>& credentials) const;
    void Start();
    void Stop();

    TempDir m_folder;
    std::uint16_t m_port = 0;
    std::optional<PeerProcess> m_process;
};

}  // namespace hvx::test
