#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "tools/host/host_report.h"

namespace hvx::host_tool {

namespace {

constexpr std::size_t kColumns = 6;
using Row = std::array<std::string, kColumns>;

constexpr std::array<const char*, kColumns> kHeading{"Index", "Name", "Friendly name",
                                                     "MAC",   "IPv4", "Active"};
constexpr const char* kColumnGap = "  ";

Row RowOf(const NicRecord& record) {
    return {std::to_string(record.index),
            Utf8(record.name),
            Utf8(record.friendly_name),
            Utf8(record.mac),
            Utf8(record.ipv4),
            std::to_string(record.active)};
}

void PrintRows(const std::vector<Row>& rows, std::ostream& out) {
    std::array<std::size_t, kColumns> widths{};
    for (const Row& row : rows) {
        for (std::size_t i = 0; i < kColumns; ++i) {
            widths[i] = std::max(widths[i], row[i].size());
        }
    }
    for (const Row& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < kColumns; ++i) {
            line += row[i];
            if (i + 1 < kColumns) {
                line += std::string(widths[i] - row[i].size(), ' ') + kColumnGap;
            }
        }
        out << line << "\n";
    }
}

}  // namespace

void PrintTable(const HostReport& report, std::ostream& out) {
    out << "Fully qualified name: "
        << (SUCCEEDED(report.fqdnResult) ? Utf8(report.fqdn)
                                         : "(not found, " + ResultText(report.fqdnResult) + ")")
        << "\n";
    out << "NetBIOS name:         "
        << (report.netbiosFound != FALSE ? Utf8(report.netbios) : "(not found)") << "\n\n";
    if (report.adaptersResult != S_OK) {
        out << "Adapters: not listed, " << ResultText(report.adaptersResult) << "\n";
        return;
    }
    if (report.adapters.empty()) {
        out << "Adapters: none that is up, with a MAC and an IPv4 address other than 127.0.0.1\n";
        return;
    }
    std::vector<Row> rows(1);
    std::copy(kHeading.begin(), kHeading.end(), rows.front().begin());
    for (const auto& entry : report.adapters) {
        rows.push_back(RowOf(entry.second));
    }
    PrintRows(rows, out);
}

}  // namespace hvx::host_tool
