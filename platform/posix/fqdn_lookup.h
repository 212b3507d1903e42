// The fully qualified name of this host, found on the calling thread without stalling it for long.
#pragma once

#include <netinet/in.h>

#include <chrono>
#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "platform/posix/hosts_file.h"

namespace hvx::os::detail {

// The resolver step asks one name (a host name in the first search domain, or bare when there is
// none), gives each name server one try of kResolverWaitSeconds, and asks at most
// kResolverServerLimit servers: it ends within about two seconds whatever /etc/resolv.conf says.
inline constexpr int kResolverWaitSeconds = 1;
inline constexpr int kResolverTries = 1;
inline constexpr int kResolverServerLimit = 2;
// How long an answer is kept for the same host name.
inline constexpr std::chrono::seconds kFqdnLifetime{30};

// Where a look-up finds its answers. The defaults are the system's; tests point them elsewhere.
struct FqdnSources {
    std::string hostsFile = kHostsFilePath;
    // The one name server to ask instead of those of the resolver configuration.
    std::optional<sockaddr_in> nameServer;
};

// `hostName` itself when it holds a dot; else the hosts file's canonical name for it; else the
// resolver's canonical name; else `hostName`. Answers are kept for kFqdnLifetime per host name.
std::string FullyQualifiedHostName(const std::string& hostName);

// The same look-up on `sources`, without the cache.
std::string LookUpFullyQualifiedName(const std::string& hostName, const FqdnSources& sources);

// The canonical name the resolver finds for `hostName` (an A record, or an AAAA record when the
// name has no A record), asked on the calling thread within the budget above; nothing when the
// name is unknown, no server answers in time, or the answer holds no address for the name.
// Every socket the look-up opens is closed before it returns.
std::optional<std::string> CanonicalNameFromResolver(
    const std::string& hostName, const std::optional<sockaddr_in>& nameServer = std::nullopt);

// The canonical name a DNS answer gives: the name asked, followed along the answer's CNAME
// records to the name that owns a record of `addressType` (ns_t_a or ns_t_aaaa). Nothing when the
// message does not parse, the chain loops or ends without such a record.
std::optional<std::string> CanonicalNameFromAnswer(std::span<const unsigned char> answer,
                                                   int addressType);

}  // namespace hvx::os::detail
