// The fully qualified name of this host, found without stalling the caller for long.
#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace hvx::os::detail {

// How long the resolver is given for one look-up.
inline constexpr std::chrono::milliseconds kResolverBudget{2000};
// How long an answer is kept for the same host name.
inline constexpr std::chrono::seconds kFqdnLifetime{30};

// `hostName` itself when it holds a dot; else the hosts file's canonical name for it; else the
// resolver's canonical name (getaddrinfo with AI_CANONNAME, given kResolverBudget); else
// `hostName`. Answers are kept for kFqdnLifetime per host name.
std::string FullyQualifiedHostName(const std::string& hostName);

// The resolver's canonical name, or nothing when the look-up fails or is not done within
// `budget`. A look-up that runs late finishes on its own thread and is dropped.
std::optional<std::string> CanonicalNameFromResolver(const std::string& hostName,
                                                     std::chrono::milliseconds budget);

}  // namespace hvx::os::detail
