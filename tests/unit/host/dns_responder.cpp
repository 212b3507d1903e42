#include "tests/unit/host/dns_responder.h"

#include <arpa/inet.h>
#include <arpa/nameser.h>
#include <poll.h>
#include <resolv.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <cstdint>
#include <stdexcept>

namespace hvx::test {

namespace {

constexpr std::uint32_t kTtlSeconds = 60;
constexpr std::size_t kMaxDatagram = 4096;
constexpr unsigned char kResponseAuthoritative = 0x84;  // QR and AA
constexpr unsigned char kRecursionDesired = 0x01;
constexpr unsigned char kRecursionAvailable = 0x80;

void Put16(std::vector<unsigned char>& out, unsigned value) {
    out.push_back(static_cast<unsigned char>((value >> 8U) & 0xFFU));
    out.push_back(static_cast<unsigned char>(value & 0xFFU));
}

// A name without compression (no table of earlier names is given).
void PutName(std::vector<unsigned char>& out, const std::string& name) {
    std::array<unsigned char, NS_MAXCDNAME> packed{};
    const int length =
        ::dn_comp(name.c_str(), packed.data(), static_cast<int>(packed.size()), nullptr, nullptr);
    if (length < 0) {
        throw std::invalid_argument("not a domain name: " + name);
    }
    out.insert(out.end(), packed.begin(), packed.begin() + length);
}

std::vector<unsigned char> RecordData(const DnsRecord& record) {
    std::vector<unsigned char> data;
    if (record.type == ns_t_cname) {
        PutName(data, record.value);
        return data;
    }
    const int family = record.type == ns_t_aaaa ? AF_INET6 : AF_INET;
    std::array<unsigned char, NS_IN6ADDRSZ> address{};
    if (::inet_pton(family, record.value.c_str(), address.data()) != 1) {
        throw std::invalid_argument("not an address: " + record.value);
    }
    const std::size_t size = family == AF_INET6 ? NS_IN6ADDRSZ : NS_INADDRSZ;
    data.assign(address.begin(), address.begin() + static_cast<std::ptrdiff_t>(size));
    return data;
}

std::string FirstLabel(const std::string& name) {
    std::string label = name.substr(0, name.find('.'));
    for (char& c : label) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return label;
}

os::detail::UniqueFd BoundSocket(sockaddr_in& address) {
    os::detail::UniqueFd socket(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (!socket.Valid() ||
        ::bind(socket.Get(), reinterpret_cast<const sockaddr*>(&address), length) != 0 ||
        ::getsockname(socket.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("no UDP socket on 127.0.0.1 for the DNS responder");
    }
    return socket;
}

}  // namespace

DnsResponder::DnsResponder() : m_socket(BoundSocket(m_address)) {}

DnsResponder::DnsResponder(Zone zone)
    : m_zone(std::move(zone)), m_socket(BoundSocket(m_address)), m_stop(::eventfd(0, EFD_CLOEXEC)) {
    if (!m_stop.Valid()) {
        throw std::runtime_error("no eventfd for the DNS responder");
    }
    m_thread = std::thread([this] { Serve(); });
}

DnsResponder::~DnsResponder() {
    if (m_thread.joinable()) {
        const std::uint64_t one = 1;
        static_cast<void>(::write(m_stop.Get(), &one, sizeof one));
        m_thread.join();
    }
}

void DnsResponder::Serve() {
    std::array<pollfd, 2> watched{{{m_socket.Get(), POLLIN, 0}, {m_stop.Get(), POLLIN, 0}}};
    while (::poll(watched.data(), watched.size(), -1) >= 0 && watched[1].revents == 0) {
        std::vector<unsigned char> query(kMaxDatagram);
        sockaddr_in peer{};
        socklen_t peerLength = sizeof peer;
        const ssize_t got = ::recvfrom(m_socket.Get(), query.data(), query.size(), 0,
                                       reinterpret_cast<sockaddr*>(&peer), &peerLength);
        if (got <= 0) {
            continue;
        }
        query.resize(static_cast<std::size_t>(got));
        const std::vector<unsigned char> answer = Answer(query);
        if (!answer.empty()) {
            static_cast<void>(::sendto(m_socket.Get(), answer.data(), answer.size(), 0,
                                       reinterpret_cast<const sockaddr*>(&peer), peerLength));
        }
    }
}

std::vector<unsigned char> DnsResponder::Answer(const std::vector<unsigned char>& query) const {
    ns_msg message{};
    ns_rr question{};
    if (::ns_initparse(query.data(), static_cast<int>(query.size()), &message) != 0 ||
        ::ns_parserr(&message, ns_s_qd, 0, &question) != 0) {
        return {};
    }
    const std::string asked = ns_rr_name(question);
    const int type = ns_rr_type(question);
    const auto known = m_zone.find(FirstLabel(asked));
    std::vector<const DnsRecord*> records;
    if (known != m_zone.end()) {
        for (const DnsRecord& record : known->second) {
            if (record.type == ns_t_cname || record.type == type) {
                records.push_back(&record);
            }
        }
    }
    std::vector<unsigned char> out;
    Put16(out, ns_msg_id(message));
    out.push_back(kResponseAuthoritative | (query[2] & kRecursionDesired));
    out.push_back(kRecursionAvailable | (known == m_zone.end() ? ns_r_nxdomain : ns_r_noerror));
    for (const std::size_t count :
         {std::size_t{1}, records.size(), std::size_t{0}, std::size_t{0}}) {
        Put16(out, static_cast<unsigned>(count));
    }
    PutName(out, asked);
    Put16(out, static_cast<unsigned>(type));
    Put16(out, ns_c_in);
    for (const DnsRecord* record : records) {
        PutName(out, record->owner.empty() ? asked : record->owner);
        Put16(out, static_cast<unsigned>(record->type));
        Put16(out, ns_c_in);
        Put16(out, kTtlSeconds >> 16U);  // the TTL, 32 bits
        Put16(out, kTtlSeconds & 0xFFFFU);
        const std::vector<unsigned char> data = RecordData(*record);
        Put16(out, static_cast<unsigned>(data.size()));
        out.insert(out.end(), data.begin(), data.end());
    }
    return out;
}

}  // namespace hvx::test
