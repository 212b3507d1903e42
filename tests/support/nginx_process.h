// An nginx (the Debian package) serving a folder of static files for one test: started in the
// foreground on 127.0.0.1, on a port chosen at run time, with a configuration it is given in a
// temporary folder (logs and temporary files there too), and stopped when the object goes. It
// answers with nginx's own Last-Modified and If-Modified-Since handling, a peer nobody here wrote.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "tests/support/peer_process.h"
#include "tests/support/temp_dir.h"

namespace hvx::test {

class NginxProcess {
public:
    // Throws std::runtime_error when nginx does not come up.
    NginxProcess();

    static bool Installed();

    // The folder served at "/".
    std::filesystem::path Root() const { return m_folder / "www"; }
    // "http://127.0.0.1:PORT" and the target.
    std::string Url(const std::string& target) const;
    std::uint16_t Port() const { return m_port; }
    std::string Log() const;

private:
    void WriteConfiguration() const;

    TempDir m_folder;
    std::uint16_t m_port;
    std::optional<PeerProcess> m_process;
};

}  // namespace hvx::test
