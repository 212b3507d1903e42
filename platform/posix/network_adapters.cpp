#include "platform/network_adapters.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <net/if_arp.h>
#include <netinet/in.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/common/adapter_layout.h"
#include "platform/posix/errno_map.h"
#include "platform/posix/native_path.h"

namespace hvx::os {

namespace {

struct IfAddrsDeleter {
    void operator()(ifaddrs* list) const { ::freeifaddrs(list); }
};
using IfAddrsList = std::unique_ptr<ifaddrs, IfAddrsDeleter>;

// The system's interface list; null (with the error in `error`) when it cannot be read.
IfAddrsList ReadInterfaces(DWORD& error) {
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) {
        error = detail::Win32ErrorFromErrno(errno, ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    error = ERROR_SUCCESS;
    return IfAddrsList(list);
}

bool HasFamily(const ifaddrs& entry, int family) {
    return entry.ifa_addr != nullptr && entry.ifa_addr->sa_family == family;
}

std::uint32_t IfTypeOf(const sockaddr_ll& link, unsigned int flags) {
    if ((flags & IFF_LOOPBACK) != 0 || link.sll_hatype == ARPHRD_LOOPBACK) {
        return kIfTypeSoftwareLoopback;
    }
    switch (link.sll_hatype) {
        case ARPHRD_ETHER:
            return kIfTypeEthernet;
        case ARPHRD_PPP:
            return kIfTypePpp;
        case ARPHRD_TUNNEL:
        case ARPHRD_TUNNEL6:
        case ARPHRD_SIT:
        case ARPHRD_IPGRE:
        case ARPHRD_NONE:
            return kIfTypeTunnel;
        default:
            return kIfTypeOther;
    }
}

std::vector<std::uint8_t> HardwareAddressOf(const sockaddr_ll& link) {
    const std::size_t length = std::min<std::size_t>(link.sll_halen, sizeof(link.sll_addr));
    std::vector<std::uint8_t> address(link.sll_addr, link.sll_addr + length);
    if (std::all_of(address.begin(), address.end(), [](std::uint8_t b) { return b == 0; })) {
        address.clear();
    }
    return address;
}

detail::AdapterFacts FactsOf(const ifaddrs& entry) {
    const auto& link = *reinterpret_cast<const sockaddr_ll*>(entry.ifa_addr);
    const bool running = (entry.ifa_flags & IFF_UP) != 0 && (entry.ifa_flags & IFF_RUNNING) != 0;
    detail::AdapterFacts facts;
    facts.ifIndex = static_cast<std::uint32_t>(link.sll_ifindex);
    facts.name = entry.ifa_name;
    facts.friendlyName = detail::FromNativePath(facts.name);
    facts.physicalAddress = HardwareAddressOf(link);
    facts.ifType = IfTypeOf(link, entry.ifa_flags);
    facts.operStatus = running ? kIfOperStatusUp : kIfOperStatusDown;
    return facts;
}

// Interface indexes by name, from the link entries of the same list.
std::map<std::string, std::uint32_t> IndexesByName(const ifaddrs* list) {
    std::map<std::string, std::uint32_t> indexes;
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (HasFamily(*entry, AF_PACKET)) {
            const auto& link = *reinterpret_cast<const sockaddr_ll*>(entry->ifa_addr);
            indexes.emplace(entry->ifa_name, static_cast<std::uint32_t>(link.sll_ifindex));
        }
    }
    return indexes;
}

// An address entry names its label ("eth0:1"); the interface is the part before the colon.
std::uint32_t IndexOf(const std::map<std::string, std::uint32_t>& indexes, const char* label) {
    const std::string name = std::string(label).substr(0, std::string(label).find(':'));
    const auto found = indexes.find(name);
    return found != indexes.end() ? found->second : ::if_nametoindex(name.c_str());
}

IpAddrRow RowOf(const ifaddrs& entry, std::uint32_t index) {
    IpAddrRow row{};
    row.addr = reinterpret_cast<const sockaddr_in*>(entry.ifa_addr)->sin_addr.s_addr;
    row.index = index;
    if (entry.ifa_netmask != nullptr) {
        row.mask = reinterpret_cast<const sockaddr_in*>(entry.ifa_netmask)->sin_addr.s_addr;
    }
    return row;
}

}  // namespace

DWORD GetAdaptersAddresses(std::uint32_t /*family*/, std::uint32_t /*flags*/,
                           AdapterAddresses* adapters, DWORD* size) {
    if (size == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    DWORD error = ERROR_SUCCESS;
    const IfAddrsList list = ReadInterfaces(error);
    if (!list) {
        return error;
    }
    std::vector<detail::AdapterFacts> facts;
    for (const ifaddrs* entry = list.get(); entry != nullptr; entry = entry->ifa_next) {
        if (HasFamily(*entry, AF_PACKET)) {
            facts.push_back(FactsOf(*entry));
        }
    }
    return detail::WriteAdapterList(facts, adapters, size);
}

DWORD GetIpAddrTable(IpAddrTable* table, DWORD* size, BOOL order) {
    if (size == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    DWORD error = ERROR_SUCCESS;
    const IfAddrsList list = ReadInterfaces(error);
    if (!list) {
        return error;
    }
    const std::map<std::string, std::uint32_t> indexes = IndexesByName(list.get());
    std::vector<IpAddrRow> rows;
    for (const ifaddrs* entry = list.get(); entry != nullptr; entry = entry->ifa_next) {
        if (HasFamily(*entry, AF_INET)) {
            rows.push_back(RowOf(*entry, IndexOf(indexes, entry->ifa_name)));
        }
    }
    if (order != FALSE) {
        std::stable_sort(rows.begin(), rows.end(), [](const IpAddrRow& a, const IpAddrRow& b) {
            return ntohl(a.addr) < ntohl(b.addr);
        });
    }
    return detail::WriteIpAddrTable(rows, table, size);
}

}  // namespace hvx::os
