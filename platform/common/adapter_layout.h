// Lays out what the system reports about adapters and IPv4 addresses in the caller's buffer, in
// the shapes of platform/network_adapters.h. Shared by the POSIX and Win32 implementations.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/network_adapters.h"

namespace hvx::os::detail {

struct AdapterFacts {
    std::uint32_t ifIndex = 0;
    std::string name;
    std::u16string friendlyName;
    std::vector<std::uint8_t> physicalAddress;  // at most kMaxAdapterAddressLength bytes kept
    std::uint32_t ifType = kIfTypeOther;
    std::uint32_t operStatus = kIfOperStatusDown;
};

// ERROR_SUCCESS; ERROR_NO_DATA for an empty list; ERROR_BUFFER_OVERFLOW with *size set.
[[nodiscard]] DWORD WriteAdapterList(const std::vector<AdapterFacts>& adapters,
                                     AdapterAddresses* buffer, DWORD* size);

// ERROR_SUCCESS; ERROR_INSUFFICIENT_BUFFER with *size set.
[[nodiscard]] DWORD WriteIpAddrTable(const std::vector<IpAddrRow>& rows, IpAddrTable* table,
                                     DWORD* size);

}  // namespace hvx::os::detail
