// A DNS server on UDP 127.0.0.1, on a port the system picks, for tests of the resolver step.
//
// An answering server knows names by their first label, so that a question carries whatever
// search domain the test machine's resolver configuration adds: a question for "node7.<domain>"
// is answered from the records of "node7". It answers a question of type T with the name's CNAME
// records and its records of type T, "no data" when it has none, and NXDOMAIN for a label it does
// not know. A silent server has a socket bound and never reads from it.
//
// Destruction stops the serving thread and closes every descriptor.
#pragma once

#include <netinet/in.h>

#include <map>
#include <string>
#include <thread>
#include <vector>

#include "platform/posix/unique_fd.h"

namespace hvx::test {

struct DnsRecord {
    std::string owner;  // empty: the name asked
    int type;           // ns_t_cname, ns_t_a or ns_t_aaaa
    std::string value;  // a name for CNAME, an address in text form for A and AAAA
};

class DnsResponder {
public:
    using Zone = std::map<std::string, std::vector<DnsRecord>>;

    // A silent server. Throws std::runtime_error when it cannot bind.
    DnsResponder();
    // A server answering from `zone` (keyed by first label, lower case).
    explicit DnsResponder(Zone zone);
    ~DnsResponder();

    const sockaddr_in& Address() const { return m_address; }

private:
    void Serve();
    std::vector<unsigned char> Answer(const std::vector<unsigned char>& query) const;

    Zone m_zone;
    sockaddr_in m_address{};  // before m_socket: binding fills it in
    os::detail::UniqueFd m_socket;
    os::detail::UniqueFd m_stop;
    std::thread m_thread;
};

}  // namespace hvx::test
