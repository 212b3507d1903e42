#include "tests/support/nginx_process.h"

#include <unistd.h>

#include <vector>

#include "tests/support/local_port.h"

namespace hvx::test {

namespace {

constexpr const char* kProgram = "/usr/sbin/nginx";

}  // namespace

NginxProcess::NginxProcess() : m_port(FreePort()) {
    std::filesystem::create_directories(Root());
    std::filesystem::create_directories(m_folder / "temp");
    WriteConfiguration();
    const std::string folder = m_folder.path().string();
    m_process.emplace(kProgram,
                      std::vector<std::string>{"nginx", "-p", folder, "-c", folder + "/nginx.conf",
                                               "-e", folder + "/error.log"},
                      m_port, [this] { return Log(); });
}

bool NginxProcess::Installed() {
    return ::access(kProgram, X_OK) == 0;
}

std::string NginxProcess::Url(const std::string& target) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + target;
}

std::string NginxProcess::Log() const {
    return ReadWholeFile(m_folder / "error.log").value_or("");
}

void NginxProcess::WriteConfiguration() const {
    const std::string folder = m_folder.path().string();
    const std::string temp = folder + "/temp/";
    WriteFile(m_folder / "nginx.conf",
              "daemon off;\n"
              "master_process off;\n"
              "pid " +
                  folder +
                  "/nginx.pid;\n"
                  "error_log " +
                  folder +
                  "/error.log info;\n"
                  "events { worker_connections 64; }\n"
                  "http {\n"
                  "  access_log " +
                  folder +
                  "/access.log;\n"
                  "  client_body_temp_path " +
                  temp +
                  "body;\n"
                  "  proxy_temp_path " +
                  temp +
                  "proxy;\n"
                  "  fastcgi_temp_path " +
                  temp +
                  "fastcgi;\n"
                  "  uwsgi_temp_path " +
                  temp +
                  "uwsgi;\n"
                  "  scgi_temp_path " +
                  temp +
                  "scgi;\n"
                  "  default_type application/octet-stream;\n"
                  "  server {\n"
                  "    listen 127.0.0.1:" +
                  std::to_string(m_port) +
                  ";\n"
                  "    root " +
                  Root().string() +
                  ";\n"
                  "  }\n"
                  "}\n");
}

}  // namespace hvx::test
