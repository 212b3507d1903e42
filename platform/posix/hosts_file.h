// The hosts file, read the way the system resolver reads it for a name.
#pragma once

#include <istream>
#include <optional>
#include <string>
#include <string_view>

namespace hvx::os::detail {

inline constexpr const char* kHostsFilePath = "/etc/hosts";

// Whether two host names are the same: equal but for ASCII letter case, whatever the locale.
bool SameHostName(std::string_view a, std::string_view b);

// The canonical name (the first name) of the first line that lists `hostName` among its names,
// compared without regard to ASCII letter case. "#" starts a comment; a line holds an address
// and then names, separated by blanks or tabs.
std::optional<std::string> CanonicalNameFromHosts(std::istream& hosts, std::string_view hostName);

// The same on the file at `path`; nothing when it cannot be read.
std::optional<std::string> CanonicalNameFromHostsFile(const std::string& path,
                                                      std::string_view hostName);

}  // namespace hvx::os::detail
