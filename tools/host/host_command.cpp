#include "tools/host/host_command.h"

#include "tools/host/host_report.h"

namespace hvx::host_tool {

namespace {

constexpr int kExitComplete = 0;
constexpr int kExitIncomplete = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "usage: caspo-host [--json]\n"
    "Prints the host's fully qualified name, NetBIOS name and network adapters as caspo\n"
    "reports them (adapters that are up, with a MAC and an IPv4 address).\n";

}  // namespace

int RunHostCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool json = false;
    for (const std::string& arg : args) {
        if (arg == "--json") {
            json = true;
        } else if (arg == "--help" || arg == "-h") {
            out << kUsage;
            return kExitComplete;
        } else {
            err << "caspo-host: unknown argument \"" << arg << "\"\n" << kUsage;
            return kExitUsage;
        }
    }
    const HostReport report = CollectHostReport();
    if (json) {
        PrintJson(report, out);
    } else {
        PrintTable(report, out);
    }
    return report.Complete() ? kExitComplete : kExitIncomplete;
}

}  // namespace hvx::host_tool
