// Readable failure messages for adapter records.
#pragma once

#include <ostream>
#include <string>

#include "support/nic_record.h"

namespace hvx {

inline void PrintTo(const NicRecord& record, std::ostream* out) {
    const auto narrow = [](const std::u16string& text) {
        return std::string(text.begin(), text.end());
    };
    *out << "{index " << record.index << ", active " << record.active << ", name \""
         << narrow(record.name) << "\", friendly \"" << narrow(record.friendly_name)
         << "\", ipv4 \"" << narrow(record.ipv4) << "\", ipv6 \"" << narrow(record.ipv6)
         << "\", mac \"" << narrow(record.mac) << "\"}";
}

}  // namespace hvx
