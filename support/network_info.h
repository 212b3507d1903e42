// The adapter inventory as the system reports it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/base_types.h"
#include "support/nic_record.h"

namespace hvx {

// Rebuilds `inventory` from the adapter list and the IPv4 address table. An adapter is listed
// when it is up, is not a software loopback, has a physical address and an IPv4 address other
// than 127.0.0.1; the address is the last of the adapter's rows in the table.
// Results: S_OK (also when no adapter qualifies); HVX_E_GENERAL (0xC1040003) with an empty
// inventory when the adapter list cannot be had or does not fit in 64 KiB;
// ERROR_NOT_ENOUGH_MEMORY (8, a positive value) with the inventory unchanged when the list's
// buffer cannot be allocated.
[[nodiscard]] HRESULT DumpNetworkInfo(NicInventory& inventory);

// Each byte as two lower-case hexadecimal digits, bytes joined by ":"; replaces `mac`.
void FormatMacAddress(const std::uint8_t* bytes, std::size_t count, std::u16string& mac);

}  // namespace hvx
