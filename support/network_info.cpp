#include "support/network_info.h"

#include <array>
#include <cstring>
#include <memory>
#include <new>

#include "interfaces/hvx_types.h"
#include "platform/network_adapters.h"
#include "siblings/venit/venit.h"
#include "support/text_utils.h"
#include "support/trace_levels.h"

namespace hvx {

namespace {

// The adapter list is read into one buffer of this size; a list that does not fit is a failure.
constexpr DWORD kAdapterListBudget = 65536;
// Only the adapters themselves are wanted: no unicast, anycast, multicast or DNS-server lists.
constexpr std::uint32_t kAdapterListFlags = os::kAdapterSkipUnicast | os::kAdapterSkipAnycast |
                                            os::kAdapterSkipMulticast | os::kAdapterSkipDnsServer |
                                            os::kAdapterIncludePrefix;
constexpr const char16_t* kLoopbackAddress = u"127.0.0.1";
constexpr char kHexDigits[] = "0123456789abcdef";

using Memory = std::unique_ptr<std::byte[]>;

Memory AllocateFromHeap(std::size_t size) {
    return Memory(new (std::nothrow) std::byte[size]);
}

NicRecord RecordOf(const os::AdapterAddresses& adapter) {
    NicRecord record;
    if (FAILED(Utf8ToWide(adapter.adapterName, record.name))) {
        record.name.clear();
    }
    record.friendly_name = adapter.friendlyName;
    record.active = 1;
    record.index = adapter.ifIndex;
    if (adapter.physicalAddressLength != 0) {
        FormatMacAddress(adapter.physicalAddress, adapter.physicalAddressLength, record.mac);
    }
    return record;
}

// The adapters that are up and are not the software loopback, by index (a later adapter with
// the same index replaces an earlier one).
NicInventory UpAdapters(const os::AdapterAddresses* list) {
    NicInventory working;
    for (const os::AdapterAddresses* adapter = list; adapter != nullptr; adapter = adapter->next) {
        if (adapter->ifType == os::kIfTypeSoftwareLoopback ||
            adapter->operStatus != os::kIfOperStatusUp) {
            continue;
        }
        working.insert_or_assign(adapter->ifIndex, RecordOf(*adapter));
    }
    return working;
}

std::u16string DottedDecimal(std::uint32_t networkOrder) {
    std::array<std::uint8_t, sizeof(networkOrder)> bytes{};
    std::memcpy(bytes.data(), &networkOrder, bytes.size());
    const std::string text = std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "." +
                             std::to_string(bytes[2]) + "." + std::to_string(bytes[3]);
    std::u16string wide;
    static_cast<void>(Utf8ToWide(text, wide));  // ASCII digits always convert
    return wide;
}

// Gives each working adapter the last of its addresses in the IPv4 table. A table that cannot
// be had leaves every adapter without an address.
void AddIpv4Addresses(NicInventory& working) {
    DWORD size = 0;
    if (os::GetIpAddrTable(nullptr, &size, FALSE) != ERROR_INSUFFICIENT_BUFFER) {
        return;
    }
    const Memory memory = AllocateFromHeap(size);
    if (!memory) {
        return;
    }
    auto* table = reinterpret_cast<os::IpAddrTable*>(memory.get());
    if (os::GetIpAddrTable(table, &size, FALSE) != ERROR_SUCCESS || table->numEntries == 0) {
        return;
    }
    for (const os::IpAddrRow& row : os::IpAddrRows(table)) {
        const auto adapter = working.find(row.index);
        if (adapter != working.end()) {
            adapter->second.ipv4 = DottedDecimal(row.addr);
        }
    }
}

bool IsReportable(const NicRecord& record) {
    return record.ipv4 != kLoopbackAddress && !record.mac.empty() &&
           (!record.ipv4.empty() || !record.ipv6.empty());
}

}  // namespace

HRESULT DumpNetworkInfo(NicInventory& inventory) {
    trace(kTraceGeneral, "hvx::DumpNetworkInfo: entering");
    const Memory buffer = AllocateFromHeap(kAdapterListBudget);
    if (!buffer) {
        error("hvx::DumpNetworkInfo not enough memory");
        return static_cast<HRESULT>(ERROR_NOT_ENOUGH_MEMORY);
    }
    inventory.clear();
    HRESULT result = S_OK;
    auto* list = reinterpret_cast<os::AdapterAddresses*>(buffer.get());
    DWORD size = kAdapterListBudget;
    if (os::GetAdaptersAddresses(os::kAdapterFamilyUnspecified, kAdapterListFlags, list, &size) !=
        ERROR_SUCCESS) {
        result = HVX_E_GENERAL;
    } else {
        NicInventory working = UpAdapters(list);
        AddIpv4Addresses(working);
        for (auto& [index, record] : working) {
            if (IsReportable(record)) {
                inventory.insert_or_assign(index, std::move(record));
            }
        }
    }
    trace(kTraceGeneral, "hvx::DumpNetworkInfo: exit.");
    return result;
}

void FormatMacAddress(const std::uint8_t* bytes, std::size_t count, std::u16string& mac) {
    mac.clear();
    for (std::size_t i = 0; i < count; ++i) {
        if (i != 0) {
            mac += u':';
        }
        mac += static_cast<char16_t>(kHexDigits[bytes[i] >> 4]);
        mac += static_cast<char16_t>(kHexDigits[bytes[i] & 0x0F]);
    }
}

}  // namespace hvx
