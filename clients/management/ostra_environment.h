// Where the management client gets the facts of the machine it reports: host names, adapters,
// the machine account SID, the operating system, the time and fresh GUIDs. The client takes them
// from the running system (OstraEnvironment::System()); tests and the fleet simulation hand in
// scripted ones.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/guid.h"
#include "platform/machine_sid.h"
#include "platform/os_facts.h"
#include "support/host_identity.h"
#include "support/nic_record.h"

namespace hvx {

struct OstraEnvironment {
    // hvx::GetComputerNameExW: the method of DomainNameHelper::GetFQDomainName.
    ComputerNameMethod computerName;
    // hvx::GetNetBIOSName.
    std::function<BOOL(std::u16string& name)> netBiosName;
    // hvx::DumpNetworkInfo.
    std::function<HRESULT(NicInventory& inventory)> networkInfo;
    // os::LookupAccountSid with the store-kept machine id as the fallback.
    std::function<DWORD(const std::u16string& account, std::vector<std::uint8_t>& sid)> accountSid;
    // Util::GetOsVersionInfo.
    std::function<BOOL(OSVERSIONINFOEXW& info)> osVersion;
    // os::GetNativeArchitecture, os::LookupProductInfo, os::IsServerR2.
    std::function<std::uint16_t()> nativeArchitecture;
    std::function<os::ProductInfoLookup(const OSVERSIONINFOEXW& version, DWORD& type)> productInfo;
    std::function<bool()> serverR2;
    // Util::GetSystemUpTime.
    std::function<bool(std::uint64_t& upTime)> upTime;
    // os::GetSystemTimeAsFileTime: 100 ns units since 1601, UTC.
    std::function<std::uint64_t()> systemTime;
    // os::UuidCreate.
    std::function<long(os::Guid& guid)> newGuid;

    static OstraEnvironment System();
};

// The machine id that stands in for /etc/machine-id where the system has none: 32 hexadecimal
// digits under "config/agent/machine_id", made from the random source on first use and kept.
// False when none is stored and a new one cannot be made or stored.
bool StoredMachineId(os::MachineId& id);

}  // namespace hvx
