// caspo-backend's command line.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace hvx::backend {

inline constexpr const char* kLoopbackAddress = "127.0.0.1";

// An update the seed offers (--offer VERSION=FILE, --offer-mask, --offer-type).
struct UpdateOffer {
    std::string version;
    std::filesystem::path installer;
    std::vector<std::string> masks;
    std::uint32_t type = 1;
};

struct BackendOptions {
    std::string listenAddress = kLoopbackAddress;
    std::uint16_t httpPort = 0;   // 0: a free port
    std::uint16_t httpsPort = 0;  // 0: a free port; HTTPS runs only with a TLS folder
    std::optional<std::filesystem::path> tlsDir;
    std::optional<std::filesystem::path> filesDir;
    std::optional<std::filesystem::path> readyFile;
    // Uploads, inventory and updates.
    std::optional<std::filesystem::path> uploadDir;
    std::optional<std::string> uploadUser;  // "USER:PASSWORD" every upload must carry
    std::optional<std::filesystem::path> updateDir;
    std::optional<UpdateOffer> offer;
    bool verbose = false;
    // The management routes: policy files, the JSON record of requests, answer rules.
    std::optional<std::filesystem::path> policyDir;
    std::optional<std::filesystem::path> recordFile;
    std::vector<std::string> managementRules;
};

struct CommandLine {
    std::optional<BackendOptions> options;  // empty with --help or a problem
    bool helpWanted = false;
    std::string problem;
};

// `arguments` without the program name.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

std::string UsageText();

}  // namespace hvx::backend
