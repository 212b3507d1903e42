// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes; and environment variables set or cleared for the life of an object.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "tools/common/whole_file.h"

namespace hvx::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    TempDir(TempDir&&) = delete;
    TempDir& operator=(TempDir&&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

class ScopedEnv {
public:
    ScopedEnv(std::string name, const std::optional<std::string>& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    ScopedEnv(ScopedEnv&&) = delete;
    ScopedEnv& operator=(ScopedEnv&&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_previous;
};

// Proxies named in the environment would otherwise carry the transfers of the tests.
class NoEnvironmentProxies {
    ScopedEnv m_http{"http_proxy", std::nullopt};
    ScopedEnv m_https{"https_proxy", std::nullopt};
    ScopedEnv m_httpsUpper{"HTTPS_PROXY", std::nullopt};
    ScopedEnv m_all{"ALL_PROXY", std::nullopt};
    ScopedEnv m_allLower{"all_proxy", std::nullopt};
};

// The whole content of a file, or nothing when it cannot be read: the tools' own reader.
using tools::ReadWholeFile;
void WriteFile(const std::filesystem::path& path, const std::string& content);

}  // namespace hvx::test
