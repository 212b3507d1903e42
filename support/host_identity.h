// The host's names: a safe wrapper over the system's computer-name call, the NetBIOS name, and
// the fully qualified name with the last one found kept in configuration
// ("config/agent/cachedhostname") as a fallback. Every failure is written to the error log.
#pragma once

#include <functional>
#include <string>

#include "interfaces/IConfig.h"
#include "platform/computer_name.h"

namespace hvx {

// The system call behind GetComputerNameExW (os::GetComputerNameExW, or a scripted one).
using ComputerNameCall = BOOL (*)(COMPUTER_NAME_FORMAT format, char16_t* buffer, DWORD* size);

// A way to get a computer name: the format and the output in, non-zero when it succeeded.
using ComputerNameMethod = std::function<BOOL(COMPUTER_NAME_FORMAT format, std::u16string& name)>;

// The computer's name in `format`. TRUE and the name; FALSE with "UNKNOWN" in `name` when the
// system call fails or its buffer cannot be had.
BOOL GetComputerNameExW(COMPUTER_NAME_FORMAT format, std::u16string& name);
// The same on the given system call.
BOOL GetComputerNameExWith(ComputerNameCall call, COMPUTER_NAME_FORMAT format,
                           std::u16string& name);

// The physical NetBIOS name (GetComputerNameExW with ComputerNamePhysicalNetBIOS).
BOOL GetNetBIOSName(std::u16string& name);

class DomainNameHelper {
public:
    // The fully qualified name by `method` (format ComputerNameDnsFullyQualified, then
    // ComputerNameDnsHostname); when neither gives a name, the cached one. A found name that
    // differs from the cached one is stored in `config` (set, else add; not saved here).
    // `config` may be null: nothing is read or stored then.
    // Results: S_OK; E_INVALIDARG for an empty method (output untouched); HVX_E_GENERAL
    // (0xC1040003) when no name can be had.
    [[nodiscard]] static HRESULT GetFQDomainName(IConfig* config, std::u16string& name,
                                                 ComputerNameMethod method);
};

}  // namespace hvx
