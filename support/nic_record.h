// One network adapter as the management client reports it, and the adapter inventory.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace hvx {

struct NicRecord {
    std::u16string name;           // the system's name of the adapter
    std::u16string friendly_name;  // the name shown to people
    std::u16string ipv4;           // dotted decimal, or empty
    std::u16string ipv6;           // empty when built from the system; kept for the stored form
    std::u16string mac;            // "00:1a:2b:3c:4d:5e", or empty
    std::uint32_t index = 0;       // the interface index
    std::int32_t active = 0;       // 1 when the adapter is up

    bool operator==(const NicRecord&) const = default;
};

// Adapters by interface index, iterated in ascending index.
using NicInventory = std::map<std::uint32_t, NicRecord>;

}  // namespace hvx
