#include "clients/management/ostra_environment.h"

#include <string>

#include "platform/clock.h"
#include "siblings/venit/os_facts.h"
#include "support/config_access.h"
#include "support/config_keys.h"
#include "support/network_info.h"

namespace hvx {

namespace {

constexpr unsigned kNibbleBits = 4;
constexpr std::uint8_t kNibbleMask = 0x0F;

std::u16string HexText(const os::MachineId& id) {
    constexpr const char16_t* kDigits = u"0123456789abcdef";
    std::u16string text;
    for (const std::uint8_t byte : id) {
        text.push_back(kDigits[byte >> kNibbleBits]);
        text.push_back(kDigits[byte & kNibbleMask]);
    }
    return text;
}

bool ParseHex(const std::u16string& text, os::MachineId& id) {
    if (text.size() != 2 * id.size()) {
        return false;
    }
    const auto value = [](char16_t digit) -> int {
        if (digit >= u'0' && digit <= u'9') {
            return digit - u'0';
        }
        if (digit >= u'a' && digit <= u'f') {
            return digit - u'a' + 10;
        }
        return -1;
    };
    for (std::size_t index = 0; index < id.size(); ++index) {
        const int high = value(text.at(2 * index));
        const int low = value(text.at(2 * index + 1));
        if (high < 0 || low < 0) {
            return false;
        }
        id.at(index) = static_cast<std::uint8_t>((high << kNibbleBits) | low);
    }
    return true;
}

}  // namespace

bool StoredMachineId(os::MachineId& id) {
    std::u16string stored;
    if (SUCCEEDED(ReadConfigString(keys::kMachineId, stored)) && ParseHex(stored, id)) {
        return true;
    }
    os::Guid fresh{};
    if (os::UuidCreate(fresh) != 0) {
        return false;
    }
    id = fresh;
    return SUCCEEDED(WriteConfigString(keys::kMachineId, HexText(id)));
}

OstraEnvironment OstraEnvironment::System() {
    OstraEnvironment environment;
    environment.computerName = [](COMPUTER_NAME_FORMAT format, std::u16string& name) {
        return GetComputerNameExW(format, name);
    };
    environment.netBiosName = [](std::u16string& name) { return GetNetBIOSName(name); };
    environment.networkInfo = [](NicInventory& inventory) { return DumpNetworkInfo(inventory); };
    environment.accountSid = [](const std::u16string& account, std::vector<std::uint8_t>& sid) {
        return os::LookupAccountSid(account, &StoredMachineId, sid);
    };
    environment.osVersion = [](OSVERSIONINFOEXW& info) { return Util::GetOsVersionInfo(&info); };
    environment.nativeArchitecture = &os::GetNativeArchitecture;
    environment.productInfo = [](const OSVERSIONINFOEXW& version, DWORD& type) {
        return os::LookupProductInfo(version.dwMajorVersion, version.dwMinorVersion,
                                     version.wServicePackMajor, version.wServicePackMinor, type);
    };
    environment.serverR2 = &os::IsServerR2;
    environment.upTime = [](std::uint64_t& upTime) {
        return Util::GetSystemUpTime(&upTime) != FALSE;
    };
    environment.systemTime = &os::GetSystemTimeAsFileTime;
    environment.newGuid = &os::UuidCreate;
    return environment;
}

}  // namespace hvx
