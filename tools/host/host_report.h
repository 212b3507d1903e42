// What the library sees of this host: its fully qualified name, its NetBIOS name and its
// adapter inventory, each with the result of the operation that produced it.
#pragma once

#include <ostream>
#include <string>

#include "platform/base_types.h"
#include "support/nic_record.h"

namespace hvx::host_tool {

struct HostReport {
    HRESULT fqdnResult = S_OK;
    std::u16string fqdn;
    BOOL netbiosFound = FALSE;
    std::u16string netbios;
    HRESULT adaptersResult = S_OK;
    NicInventory adapters;

    // True when every part was found.
    bool Complete() const;
};

// Asks the library, without a configuration store: nothing is read from or written to one.
HostReport CollectHostReport();

// The report as aligned text, or as one JSON object.
void PrintTable(const HostReport& report, std::ostream& out);
void PrintJson(const HostReport& report, std::ostream& out);

// UTF-8 of a wide text ("" for text that cannot be converted).
std::string Utf8(const std::u16string& text);
// "0x" and eight upper-case hexadecimal digits.
std::string ResultText(HRESULT result);

}  // namespace hvx::host_tool
