#include "platform/computer_name.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <climits>
#include <optional>
#include <string>

#include "platform/last_error.h"
#include "platform/posix/errno_map.h"
#include "platform/posix/fqdn_lookup.h"
#include "platform/posix/native_path.h"

namespace hvx::os {

namespace {

// A NetBIOS name holds at most 15 characters; the sixteenth byte is the service type.
constexpr std::size_t kNetBiosNameLength = 15;

std::optional<std::string> HostName() {
    std::array<char, HOST_NAME_MAX + 1> name{};
    if (::gethostname(name.data(), name.size() - 1) != 0) {
        detail::SetLastErrorFromErrno(ERROR_INVALID_PARAMETER);
        return std::nullopt;
    }
    return std::string(name.data());
}

std::string HostLabel(const std::string& hostName) {
    return hostName.substr(0, hostName.find('.'));
}

std::string NetBiosName(const std::string& hostName) {
    std::string name = HostLabel(hostName).substr(0, kNetBiosNameLength);
    std::transform(name.begin(), name.end(), name.begin(), [](char c) {
        return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    });
    return name;
}

std::string DomainOf(const std::string& fqdn) {
    const std::size_t dot = fqdn.find('.');
    return dot == std::string::npos ? std::string() : fqdn.substr(dot + 1);
}

std::optional<std::string> NameInFormat(COMPUTER_NAME_FORMAT format, const std::string& hostName) {
    switch (format) {
        case ComputerNameNetBIOS:
        case ComputerNamePhysicalNetBIOS:
            return NetBiosName(hostName);
        case ComputerNameDnsHostname:
        case ComputerNamePhysicalDnsHostname:
            return HostLabel(hostName);
        case ComputerNameDnsDomain:
        case ComputerNamePhysicalDnsDomain:
            return DomainOf(detail::FullyQualifiedHostName(hostName));
        case ComputerNameDnsFullyQualified:
        case ComputerNamePhysicalDnsFullyQualified:
            return detail::FullyQualifiedHostName(hostName);
        default:
            return std::nullopt;
    }
}

BOOL CopyName(const std::u16string& name, char16_t* buffer, DWORD* size) {
    const auto needed = static_cast<DWORD>(name.size() + 1);
    if (buffer == nullptr || *size < needed) {
        *size = needed;
        SetLastError(ERROR_MORE_DATA);
        return FALSE;
    }
    std::copy(name.begin(), name.end(), buffer);
    buffer[name.size()] = u'\0';
    *size = needed - 1;
    return TRUE;
}

}  // namespace

BOOL GetComputerNameExW(COMPUTER_NAME_FORMAT format, char16_t* buffer, DWORD* size) {
    if (size == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::optional<std::string> hostName = HostName();
    if (!hostName) {
        return FALSE;
    }
    const std::optional<std::string> name = NameInFormat(format, *hostName);
    if (!name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return CopyName(detail::FromNativePath(*name), buffer, size);
}

}  // namespace hvx::os
