// The computer's names with the semantics of GetComputerNameExW.
//
// A call with a null buffer, or with a buffer of fewer characters than the name and its
// terminator, fails with ERROR_MORE_DATA and sets *size to the characters needed, terminator
// included. A call that fits writes the name and its terminator and sets *size to the
// name's length without the terminator. A null size fails with ERROR_INVALID_PARAMETER, and so
// does a format outside the enumeration.
//
// On POSIX the names come from gethostname:
// - DNS host name: the host name up to its first dot;
// - DNS fully qualified name: the host name when it holds a dot; else the canonical name of the
//   first line of /etc/hosts that lists it; else the canonical name getaddrinfo reports, a
//   look-up that is given two seconds at most; else the host name. The answer is kept for 30
//   seconds, so a size query and the read that follows cost one look-up and agree;
// - DNS domain: what follows the host label in the fully qualified name (empty when nothing);
// - NetBIOS name: the DNS host name upper-cased (ASCII letters), at most 15 characters.
// The physical forms are the same names.
#pragma once

#include "platform/base_types.h"

#if !defined(_WIN32)
// The formats of the Win32 enumeration, with its values.
enum COMPUTER_NAME_FORMAT {
    ComputerNameNetBIOS,
    ComputerNameDnsHostname,
    ComputerNameDnsDomain,
    ComputerNameDnsFullyQualified,
    ComputerNamePhysicalNetBIOS,
    ComputerNamePhysicalDnsHostname,
    ComputerNamePhysicalDnsDomain,
    ComputerNamePhysicalDnsFullyQualified,
    ComputerNameMax
};
#endif

namespace hvx::os {

// TRUE and the name in `buffer`; FALSE with the last error set (see above).
BOOL GetComputerNameExW(COMPUTER_NAME_FORMAT format, char16_t* buffer, DWORD* size);

}  // namespace hvx::os
