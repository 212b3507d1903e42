// The host's network adapters and its IPv4 address table, in the shapes of the IP Helper calls
// GetAdaptersAddresses and GetIpAddrTable: the caller hands in the memory, and a list that does
// not fit fails with the size it would need.
//
// On POSIX both come from getifaddrs: the adapters from its AF_PACKET entries (index, name,
// hardware address, link type), the rows from its AF_INET entries, in the order the kernel
// lists them. The friendly name is the interface name. Loopback is recognised by IFF_LOOPBACK;
// an adapter is up when it is both IFF_UP and IFF_RUNNING (it has a carrier). An all-zero
// hardware address is reported as none, as Windows reports the loopback's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/base_types.h"

#if !defined(_WIN32)
// NOLINTNEXTLINE(cppcoreguidelines-macro-usage): the Win32 error number, as in base_types.h
#define ERROR_NO_DATA 232L
#endif

namespace hvx::os {

// Address family and flags of GetAdaptersAddresses, with the Win32 values (AF_UNSPEC and
// GAA_FLAG_*). The records here carry no address lists, so on POSIX they change nothing.
inline constexpr std::uint32_t kAdapterFamilyUnspecified = 0;
inline constexpr std::uint32_t kAdapterSkipUnicast = 0x0001;
inline constexpr std::uint32_t kAdapterSkipAnycast = 0x0002;
inline constexpr std::uint32_t kAdapterSkipMulticast = 0x0004;
inline constexpr std::uint32_t kAdapterSkipDnsServer = 0x0008;
inline constexpr std::uint32_t kAdapterIncludePrefix = 0x0010;

// Interface types (the IANA ifType numbers Windows reports).
inline constexpr std::uint32_t kIfTypeOther = 1;
inline constexpr std::uint32_t kIfTypeEthernet = 6;
inline constexpr std::uint32_t kIfTypePpp = 23;
inline constexpr std::uint32_t kIfTypeSoftwareLoopback = 24;
inline constexpr std::uint32_t kIfTypeTunnel = 131;

// Operational status (IF_OPER_STATUS).
inline constexpr std::uint32_t kIfOperStatusUp = 1;
inline constexpr std::uint32_t kIfOperStatusDown = 2;

inline constexpr std::size_t kMaxAdapterAddressLength = 8;

// One adapter. Records and their texts lie in the caller's buffer, linked in list order.
struct AdapterAddresses {
    AdapterAddresses* next;  // null after the last
    std::uint32_t ifIndex;
    char* adapterName;       // the system's name of the adapter, UTF-8, zero-terminated
    char16_t* friendlyName;  // zero-terminated
    std::uint8_t physicalAddress[kMaxAdapterAddressLength];
    std::uint32_t physicalAddressLength;  // 0 when the adapter has none
    std::uint32_t ifType;
    std::uint32_t operStatus;
};

// Writes the adapter list into `adapters` (*size bytes). ERROR_SUCCESS; ERROR_BUFFER_OVERFLOW
// with *size set to the bytes needed when it does not fit (or `adapters` is null);
// ERROR_NO_DATA when the host has no adapter; ERROR_INVALID_PARAMETER for a null size; or the
// system's own error.
DWORD GetAdaptersAddresses(std::uint32_t family, std::uint32_t flags, AdapterAddresses* adapters,
                           DWORD* size);

// One IPv4 address of an adapter.
struct IpAddrRow {
    std::uint32_t addr;   // network byte order
    std::uint32_t index;  // the adapter's interface index
    std::uint32_t mask;   // network byte order
};

// The table's header; `numEntries` rows follow it in the same buffer (IpAddrRows).
struct IpAddrTable {
    std::uint32_t numEntries;
};

inline std::span<const IpAddrRow> IpAddrRows(const IpAddrTable* table) {
    const auto* rows = reinterpret_cast<const IpAddrRow*>(table + 1);
    return {rows, table->numEntries};
}

// Writes the IPv4 address table into `table` (*size bytes), rows in the system's order, or
// ascending by address when `order` is TRUE. ERROR_SUCCESS; ERROR_INSUFFICIENT_BUFFER with
// *size set to the bytes needed when it does not fit (or `table` is null);
// ERROR_INVALID_PARAMETER for a null size; or the system's own error.
DWORD GetIpAddrTable(IpAddrTable* table, DWORD* size, BOOL order);

}  // namespace hvx::os
