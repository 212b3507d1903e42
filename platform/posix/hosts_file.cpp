#include "platform/posix/hosts_file.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <vector>

namespace hvx::os::detail {

namespace {

// The names of one line: every word after the address, the comment left out.
std::vector<std::string> NamesOfLine(const std::string& line) {
    std::istringstream words(line.substr(0, line.find('#')));
    std::string address;
    words >> address;
    std::vector<std::string> names;
    for (std::string name; words >> name;) {
        names.push_back(name);
    }
    return names;
}

}  // namespace

bool SameHostName(std::string_view a, std::string_view b) {
    const auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char x, char y) { return lower(x) == lower(y); });
}

std::optional<std::string> CanonicalNameFromHosts(std::istream& hosts, std::string_view hostName) {
    for (std::string line; std::getline(hosts, line);) {
        const std::vector<std::string> names = NamesOfLine(line);
        if (std::any_of(names.begin(), names.end(),
                        [&](const std::string& name) { return SameHostName(name, hostName); })) {
            return names.front();
        }
    }
    return std::nullopt;
}

std::optional<std::string> CanonicalNameFromHostsFile(const std::string& path,
                                                      std::string_view hostName) {
    std::ifstream hosts(path);
    if (!hosts) {
        return std::nullopt;
    }
    return CanonicalNameFromHosts(hosts, hostName);
}

}  // namespace hvx::os::detail
