#include "platform/common/adapter_layout.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <new>

namespace hvx::os::detail {

namespace {

constexpr std::size_t AlignUp(std::size_t offset, std::size_t alignment) {
    return (offset + alignment - 1) / alignment * alignment;
}

// Bytes one adapter takes: its record, then its name and friendly name, each with its zero.
std::size_t AdapterBytes(const AdapterFacts& adapter) {
    std::size_t bytes = sizeof(AdapterAddresses) + adapter.name.size() + 1;
    bytes = AlignUp(bytes, alignof(char16_t));
    bytes += (adapter.friendlyName.size() + 1) * sizeof(char16_t);
    return AlignUp(bytes, alignof(AdapterAddresses));
}

// Places one adapter at `at` and returns the record.
AdapterAddresses* PlaceAdapter(const AdapterFacts& adapter, std::byte* at) {
    auto* record = new (at) AdapterAddresses{};
    record->ifIndex = adapter.ifIndex;
    record->ifType = adapter.ifType;
    record->operStatus = adapter.operStatus;
    const std::size_t macLength =
        std::min(adapter.physicalAddress.size(), kMaxAdapterAddressLength);
    std::copy_n(adapter.physicalAddress.begin(), macLength, std::begin(record->physicalAddress));
    record->physicalAddressLength = static_cast<std::uint32_t>(macLength);

    std::size_t offset = sizeof(AdapterAddresses);
    record->adapterName = reinterpret_cast<char*>(at + offset);
    std::memcpy(record->adapterName, adapter.name.c_str(), adapter.name.size() + 1);
    offset = AlignUp(offset + adapter.name.size() + 1, alignof(char16_t));
    record->friendlyName = reinterpret_cast<char16_t*>(at + offset);
    std::memcpy(record->friendlyName, adapter.friendlyName.c_str(),
                (adapter.friendlyName.size() + 1) * sizeof(char16_t));
    return record;
}

}  // namespace

DWORD WriteAdapterList(const std::vector<AdapterFacts>& adapters, AdapterAddresses* buffer,
                       DWORD* size) {
    if (adapters.empty()) {
        return ERROR_NO_DATA;
    }
    std::size_t needed = 0;
    for (const AdapterFacts& adapter : adapters) {
        needed += AdapterBytes(adapter);
    }
    if (buffer == nullptr || *size < needed) {
        *size = static_cast<DWORD>(needed);
        return ERROR_BUFFER_OVERFLOW;
    }
    auto* at = reinterpret_cast<std::byte*>(buffer);
    AdapterAddresses* previous = nullptr;
    for (const AdapterFacts& adapter : adapters) {
        AdapterAddresses* record = PlaceAdapter(adapter, at);
        if (previous != nullptr) {
            previous->next = record;
        }
        previous = record;
        at += AdapterBytes(adapter);
    }
    return ERROR_SUCCESS;
}

DWORD WriteIpAddrTable(const std::vector<IpAddrRow>& rows, IpAddrTable* table, DWORD* size) {
    static_assert(sizeof(IpAddrTable) % alignof(IpAddrRow) == 0, "rows follow the header");
    const std::size_t needed = sizeof(IpAddrTable) + rows.size() * sizeof(IpAddrRow);
    if (table == nullptr || *size < needed) {
        *size = static_cast<DWORD>(needed);
        return ERROR_INSUFFICIENT_BUFFER;
    }
    table->numEntries = static_cast<std::uint32_t>(rows.size());
    auto* at = reinterpret_cast<std::byte*>(table + 1);
    for (const IpAddrRow& row : rows) {
        at = reinterpret_cast<std::byte*>(new (at) IpAddrRow(row) + 1);
    }
    return ERROR_SUCCESS;
}

}  // namespace hvx::os::detail
