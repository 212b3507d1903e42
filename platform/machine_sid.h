// The machine account's security identifier (SID) and its standard text form.
//
// On Windows the SID is LookupAccountNameW's for the account ("NAME$"). On POSIX there are no
// accounts of the kind: the SID is a stable machine SID S-1-5-21-a-b-c whose three numbers are
// derived (HMAC-SHA-256 under a fixed application key) from the machine id in /etc/machine-id,
// else /var/lib/dbus/machine-id, else the id that `fallback` hands out. The machine id itself
// never leaves the host.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/base_types.h"

// winbase.h (and sddl.h) define these names as macros of their A or W forms.
#undef LookupAccountSid
#undef ConvertSidToStringSid

namespace hvx::os {

// A 16-byte machine id kept by the caller (for instance in the configuration store), asked for
// only when the system has none; false when it cannot be had.
using MachineId = std::array<std::uint8_t, 16>;
using MachineIdFallback = std::function<bool(MachineId& id)>;

// The SID bytes of `account`. ERROR_SUCCESS; otherwise the system's error (ERROR_NONE_MAPPED
// for an unknown account; ERROR_FILE_NOT_FOUND on POSIX when no machine id can be had), with
// `sid` emptied.
DWORD LookupAccountSid(const std::u16string& account, const MachineIdFallback& fallback,
                       std::vector<std::uint8_t>& sid);

// "S-1-5-21-..." for the SID bytes; false (text untouched) when they are not a SID.
bool ConvertSidToStringSid(const std::vector<std::uint8_t>& sid, std::u16string& text);

}  // namespace hvx::os
