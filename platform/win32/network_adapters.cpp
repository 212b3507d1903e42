// Winsock's headers come first: windows.h (through base_types.h) would pull in the old ones.
// The IP Helper header needs Winsock's types, so it comes after them.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <winsock2.h>
#include <ws2tcpip.h>

#include <iphlpapi.h>

#include "platform/network_adapters.h"

#include <vector>

#include "platform/common/adapter_layout.h"

namespace hvx::os {

static_assert(kAdapterFamilyUnspecified == AF_UNSPEC);
static_assert(kAdapterSkipUnicast == GAA_FLAG_SKIP_UNICAST);
static_assert(kAdapterSkipAnycast == GAA_FLAG_SKIP_ANYCAST);
static_assert(kAdapterSkipMulticast == GAA_FLAG_SKIP_MULTICAST);
static_assert(kAdapterSkipDnsServer == GAA_FLAG_SKIP_DNS_SERVER);
static_assert(kAdapterIncludePrefix == GAA_FLAG_INCLUDE_PREFIX);
static_assert(kIfTypeSoftwareLoopback == IF_TYPE_SOFTWARE_LOOPBACK);
static_assert(kIfOperStatusUp == IfOperStatusUp);

namespace {

detail::AdapterFacts FactsOf(const IP_ADAPTER_ADDRESSES& adapter) {
    detail::AdapterFacts facts;
    facts.ifIndex = adapter.IfIndex;
    facts.name = adapter.AdapterName != nullptr ? adapter.AdapterName : "";
    if (adapter.FriendlyName != nullptr) {
        facts.friendlyName = reinterpret_cast<const char16_t*>(adapter.FriendlyName);
    }
    facts.physicalAddress.assign(adapter.PhysicalAddress,
                                 adapter.PhysicalAddress + adapter.PhysicalAddressLength);
    facts.ifType = adapter.IfType;
    facts.operStatus = static_cast<std::uint32_t>(adapter.OperStatus);
    return facts;
}

}  // namespace

DWORD GetAdaptersAddresses(std::uint32_t family, std::uint32_t flags, AdapterAddresses* adapters,
                           DWORD* size) {
    if (size == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    // The system's records are larger than these, so the system gets the same budget and a
    // list that overflows there overflows here too.
    ULONG systemSize = adapters != nullptr ? *size : 0;
    std::vector<unsigned char> system(systemSize);
    auto* systemList =
        system.empty() ? nullptr : reinterpret_cast<IP_ADAPTER_ADDRESSES*>(system.data());
    const ULONG result = ::GetAdaptersAddresses(family, flags, nullptr, systemList, &systemSize);
    if (result == ERROR_BUFFER_OVERFLOW) {
        *size = systemSize;
        return result;
    }
    if (result != ERROR_SUCCESS) {
        return result;
    }
    std::vector<detail::AdapterFacts> facts;
    for (const IP_ADAPTER_ADDRESSES* adapter = systemList; adapter != nullptr;
         adapter = adapter->Next) {
        facts.push_back(FactsOf(*adapter));
    }
    return detail::WriteAdapterList(facts, adapters, size);
}

DWORD GetIpAddrTable(IpAddrTable* table, DWORD* size, BOOL order) {
    if (size == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    ULONG systemSize = 0;
    DWORD result = ::GetIpAddrTable(nullptr, &systemSize, order);
    if (result != ERROR_INSUFFICIENT_BUFFER) {
        return result;
    }
    std::vector<unsigned char> system(systemSize);
    auto* systemTable = reinterpret_cast<MIB_IPADDRTABLE*>(system.data());
    result = ::GetIpAddrTable(systemTable, &systemSize, order);
    if (result != NO_ERROR) {
        return result;
    }
    std::vector<IpAddrRow> rows;
    for (DWORD i = 0; i < systemTable->dwNumEntries; ++i) {
        const MIB_IPADDRROW& row = systemTable->table[i];
        rows.push_back(IpAddrRow{row.dwAddr, row.dwIndex, row.dwMask});
    }
    return detail::WriteIpAddrTable(rows, table, size);
}

}  // namespace hvx::os
