#include "tools/host/host_report.h"

#include <cstdint>
#include <iomanip>
#include <sstream>

#include "support/host_identity.h"
#include "support/network_info.h"
#include "support/text_utils.h"

namespace hvx::host_tool {

bool HostReport::Complete() const {
    return SUCCEEDED(fqdnResult) && netbiosFound != FALSE && adaptersResult == S_OK;
}

HostReport CollectHostReport() {
    HostReport report;
    report.fqdnResult =
        DomainNameHelper::GetFQDomainName(nullptr, report.fqdn, &hvx::GetComputerNameExW);
    report.netbiosFound = GetNetBIOSName(report.netbios);
    report.adaptersResult = DumpNetworkInfo(report.adapters);
    return report;
}

std::string Utf8(const std::u16string& text) {
    std::string utf8;
    return SUCCEEDED(WideToUtf8(text, utf8)) ? utf8 : std::string();
}

std::string ResultText(HRESULT result) {
    std::ostringstream text;
    text << "0x" << std::uppercase << std::hex << std::setw(8) << std::setfill('0')
         << static_cast<std::uint32_t>(result);
    return text.str();
}

}  // namespace hvx::host_tool
