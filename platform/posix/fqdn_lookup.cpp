#include "platform/posix/fqdn_lookup.h"

#include <arpa/nameser.h>
#include <netdb.h>
#include <resolv.h>

#include <algorithm>
#include <array>
#include <climits>
#include <mutex>
#include <vector>

namespace hvx::os::detail {

namespace {

// Answers come over UDP only (a truncated one is taken as it is, TCP is never tried), so none is
// larger than the EDNS buffer the resolver announces; this holds any of them.
constexpr std::size_t kAnswerCapacity = 4096;

// A private resolver state: filled from the resolver configuration by res_ninit, given back by
// res_nclose (its sockets, its copies of IPv6 server addresses, its hold on the configuration).
class ResolverSession {
public:
    ResolverSession() : m_ready(::res_ninit(&m_state) == 0), m_configuredServers(m_state.nscount) {}
    ~ResolverSession() {
        if (m_ready) {
            // res_nclose gives back what belongs to the first nscount servers only.
            m_state.nscount = m_configuredServers;
            ::res_nclose(&m_state);
        }
    }
    ResolverSession(const ResolverSession&) = delete;
    ResolverSession& operator=(const ResolverSession&) = delete;
    ResolverSession(ResolverSession&&) = delete;
    ResolverSession& operator=(ResolverSession&&) = delete;

    bool Ready() const { return m_ready; }
    void HoldToBudget();
    // The resolver takes an entry of another family for an IPv6 server it has no copy of.
    [[nodiscard]] bool UseOnlyServer(const sockaddr_in& server) {
        if (server.sin_family != AF_INET) {
            return false;
        }
        m_state.nsaddr_list[0] = server;
        m_state.nscount = 1;
        return true;
    }
    // The answer for `hostName` and `type`; nothing when there is none (see LastError).
    std::optional<std::vector<unsigned char>> Search(const std::string& hostName, int type);
    // The h_errno value of the last search: HOST_NOT_FOUND, NO_DATA, TRY_AGAIN, ...
    int LastError() const { return m_state.res_h_errno; }

private:
    // Spelled with `struct`: resolv.h also declares a function of this name.
    struct __res_state m_state {};
    bool m_ready;
    int m_configuredServers;
};

void ResolverSession::HoldToBudget() {
    m_state.retrans = kResolverWaitSeconds;
    m_state.retry = kResolverTries;
    m_state.nscount = std::min(m_state.nscount, kResolverServerLimit);
    // One name is asked: a name without a dot in the first search domain (or bare when there is
    // no search domain, never both), a name with a dot as it is.
    m_state.ndots = 1;
    m_state.options |= RES_DEFNAMES | RES_NOTLDQUERY | RES_IGNTC;
    // Neither the rest of the search list nor TCP, whose exchange has no time limit of its own.
    m_state.options &= ~static_cast<decltype(m_state.options)>(RES_DNSRCH | RES_USEVC);
}

std::optional<std::vector<unsigned char>> ResolverSession::Search(const std::string& hostName,
                                                                  int type) {
    std::vector<unsigned char> answer(kAnswerCapacity);
    const int length = ::res_nsearch(&m_state, hostName.c_str(), ns_c_in, type, answer.data(),
                                     static_cast<int>(answer.size()));
    if (length < 0) {
        return std::nullopt;
    }
    answer.resize(std::min(static_cast<std::size_t>(length), answer.size()));
    return answer;
}

// What the answer says about one name: it owns an address record, or it is an alias of `alias`.
struct Link {
    bool ownsAddress = false;
    std::optional<std::string> alias;
};

std::optional<std::string> AliasTarget(const ns_msg& message, const ns_rr& record) {
    std::array<char, NS_MAXDNAME> target{};
    if (::ns_name_uncompress(ns_msg_base(message), ns_msg_end(message), ns_rr_rdata(record),
                             target.data(), target.size()) < 0) {
        return std::nullopt;
    }
    return std::string(target.data());
}

Link LinkOf(ns_msg& message, const std::string& name, int addressType) {
    Link link;
    const int count = ns_msg_count(message, ns_s_an);
    for (int index = 0; index < count; ++index) {
        ns_rr record{};
        if (::ns_parserr(&message, ns_s_an, index, &record) != 0) {
            return {};
        }
        if (!SameHostName(ns_rr_name(record), name)) {
            continue;
        }
        if (ns_rr_type(record) == addressType) {
            return {true, std::nullopt};
        }
        if (ns_rr_type(record) == ns_t_cname && !link.alias) {
            link.alias = AliasTarget(message, record);
        }
    }
    return link;
}

struct CachedAnswer {
    std::string hostName;
    std::string fqdn;
    std::chrono::steady_clock::time_point found;
};

std::mutex g_cacheMutex;
std::optional<CachedAnswer> g_cache;

}  // namespace

std::optional<std::string> CanonicalNameFromAnswer(std::span<const unsigned char> answer,
                                                   int addressType) {
    ns_msg message{};
    ns_rr question{};
    if (answer.size() > static_cast<std::size_t>(INT_MAX) ||
        ::ns_initparse(answer.data(), static_cast<int>(answer.size()), &message) != 0 ||
        ::ns_parserr(&message, ns_s_qd, 0, &question) != 0) {
        return std::nullopt;
    }
    std::string name = ns_rr_name(question);
    // Each step follows one alias: a chain with more steps than the answer has records loops.
    for (int step = 0; step <= ns_msg_count(message, ns_s_an); ++step) {
        Link link = LinkOf(message, name, addressType);
        if (link.ownsAddress) {
            return name;
        }
        if (!link.alias) {
            return std::nullopt;
        }
        name = std::move(*link.alias);
    }
    return std::nullopt;
}

std::optional<std::string> CanonicalNameFromResolver(const std::string& hostName,
                                                     const std::optional<sockaddr_in>& nameServer) {
    ResolverSession session;
    if (!session.Ready()) {
        return std::nullopt;
    }
    session.HoldToBudget();
    if (nameServer && !session.UseOnlyServer(*nameServer)) {
        return std::nullopt;
    }
    // AAAA is asked only after a server said the name has no A record, so a silent server
    // costs the budget once.
    for (const int type : {ns_t_a, ns_t_aaaa}) {
        const auto answer = session.Search(hostName, type);
        if (answer) {
            if (auto canonical = CanonicalNameFromAnswer(*answer, type)) {
                return canonical;
            }
        } else if (session.LastError() != NO_DATA) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::string LookUpFullyQualifiedName(const std::string& hostName, const FqdnSources& sources) {
    if (hostName.find('.') != std::string::npos) {
        return hostName;
    }
    if (auto canonical = CanonicalNameFromHostsFile(sources.hostsFile, hostName)) {
        return *canonical;
    }
    return CanonicalNameFromResolver(hostName, sources.nameServer).value_or(hostName);
}

std::string FullyQualifiedHostName(const std::string& hostName) {
    const std::lock_guard lock(g_cacheMutex);
    const auto now = std::chrono::steady_clock::now();
    if (g_cache && g_cache->hostName == hostName && now - g_cache->found < kFqdnLifetime) {
        return g_cache->fqdn;
    }
    std::string fqdn = LookUpFullyQualifiedName(hostName, FqdnSources{});
    g_cache = CachedAnswer{hostName, fqdn, std::chrono::steady_clock::now()};
    return fqdn;
}

}  // namespace hvx::os::detail
