#include "platform/posix/fqdn_lookup.h"

#include <netdb.h>
#include <sys/socket.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/posix/hosts_file.h"

namespace hvx::os::detail {

namespace {

// What a look-up thread hands back. Shared, so that a caller that stopped waiting leaves the
// thread something valid to write into.
struct LookupState {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::optional<std::string> canonical;
};

struct AddrInfoDeleter {
    void operator()(addrinfo* info) const { ::freeaddrinfo(info); }
};

std::optional<std::string> ResolveCanonicalName(const std::string& hostName) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_CANONNAME;
    addrinfo* found = nullptr;
    if (::getaddrinfo(hostName.c_str(), nullptr, &hints, &found) != 0) {
        return std::nullopt;
    }
    const std::unique_ptr<addrinfo, AddrInfoDeleter> owner(found);
    if (found == nullptr || found->ai_canonname == nullptr || *found->ai_canonname == '\0') {
        return std::nullopt;
    }
    return std::string(found->ai_canonname);
}

struct CachedAnswer {
    std::string hostName;
    std::string fqdn;
    std::chrono::steady_clock::time_point found;
};

std::mutex g_cacheMutex;
std::optional<CachedAnswer> g_cache;

std::string LookUp(const std::string& hostName) {
    if (hostName.find('.') != std::string::npos) {
        return hostName;
    }
    if (auto canonical = CanonicalNameFromHostsFile(kHostsFilePath, hostName)) {
        return *canonical;
    }
    return CanonicalNameFromResolver(hostName, kResolverBudget).value_or(hostName);
}

}  // namespace

std::optional<std::string> CanonicalNameFromResolver(const std::string& hostName,
                                                     std::chrono::milliseconds budget) {
    auto state = std::make_shared<LookupState>();
    try {
        std::thread([state, hostName] {
            std::optional<std::string> canonical = ResolveCanonicalName(hostName);
            const std::lock_guard lock(state->mutex);
            state->canonical = std::move(canonical);
            state->done = true;
            state->finished.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return std::nullopt;  // no thread to spare: no look-up, rather than an unbounded one
    }
    std::unique_lock lock(state->mutex);
    if (!state->finished.wait_for(lock, budget, [&] { return state->done; })) {
        return std::nullopt;
    }
    return state->canonical;
}

std::string FullyQualifiedHostName(const std::string& hostName) {
    const std::lock_guard lock(g_cacheMutex);
    const auto now = std::chrono::steady_clock::now();
    if (g_cache && g_cache->hostName == hostName && now - g_cache->found < kFqdnLifetime) {
        return g_cache->fqdn;
    }
    std::string fqdn = LookUp(hostName);
    g_cache = CachedAnswer{hostName, fqdn, std::chrono::steady_clock::now()};
    return fqdn;
}

}  // namespace hvx::os::detail
