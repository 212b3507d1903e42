// An adapter inventory in the configuration store: record N (from 0, in index order) under
// <base>/nN/ with the fields "active", "index" (numbers), "friendly_name", "name", "ipv4",
// "ipv6" and "mac" (wide text).
#pragma once

#include <string>

#include "platform/base_types.h"
#include "support/nic_record.h"

namespace hvx {

// Writes every record, each value saved as it is written; failed writes are ignored and
// nothing is removed, so positions past the end of a shorter inventory stay. Always S_OK.
[[nodiscard]] HRESULT SaveNicLayout(const std::string& baseKey, const NicInventory& inventory);

// Reads positions 0 to 99, stopping at the first without "active". A field missing at a
// position keeps the value read at the position before (index 0 and empty texts at position
// 0); a later position with the same index replaces an earlier one.
// Results: S_OK; HVX_E_GENERAL (0xC1040003) with an empty output when position 0 is absent or
// there is no store.
[[nodiscard]] HRESULT LoadNicLayout(const std::string& baseKey, NicInventory& inventory);

}  // namespace hvx
