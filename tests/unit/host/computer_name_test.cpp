// The platform's computer names: the Win32 size protocol on the names in a host-name namespace of
// the test's making, and the hosts-file reading.
#include "platform/computer_name.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <unistd.h>

#include <optional>
#include <sstream>
#include <string>

#include "platform/last_error.h"
#include "platform/posix/hosts_file.h"
#include "tests/unit/host/net_namespace.h"

namespace hvx {
namespace {

// The name through the size protocol: a null buffer, then one character too few, then enough.
std::u16string ReadName(COMPUTER_NAME_FORMAT format) {
    DWORD size = 0;
    EXPECT_EQ(os::GetComputerNameExW(format, nullptr, &size), FALSE);
    EXPECT_EQ(os::GetLastError(), static_cast<DWORD>(ERROR_MORE_DATA));
    EXPECT_GT(size, 0u);
    const DWORD needed = size;
    std::u16string buffer(needed, u'#');
    size = needed - 1;
    EXPECT_EQ(os::GetComputerNameExW(format, buffer.data(), &size), FALSE);
    EXPECT_EQ(os::GetLastError(), static_cast<DWORD>(ERROR_MORE_DATA));
    EXPECT_EQ(size, needed);
    EXPECT_EQ(os::GetComputerNameExW(format, buffer.data(), &size), TRUE);
    EXPECT_EQ(size, needed - 1) << "the length without the terminator";
    EXPECT_EQ(buffer[size], u'\0');
    return buffer.substr(0, size);
}

TEST(ComputerName, NamesFollowTheHostNameOfTheNamespace) {
    const test::ScopedNamespace uts(CLONE_NEWUTS);
    ASSERT_EQ(uts.problem(), "") << "a host-name namespace is needed to set the host name";
    const struct {
        std::string host;
        COMPUTER_NAME_FORMAT format;
        std::u16string name;
    } cases[] = {
        {"caspo-host-identity.example.test", ComputerNameDnsHostname, u"caspo-host-identity"},
        {"caspo-host-identity.example.test", ComputerNameDnsFullyQualified,
         u"caspo-host-identity.example.test"},
        {"caspo-host-identity.example.test", ComputerNameDnsDomain, u"example.test"},
        {"caspo-host-identity.example.test", ComputerNamePhysicalNetBIOS, u"CASPO-HOST-IDEN"},
        {"caspo-host-identity.example.test", ComputerNameNetBIOS, u"CASPO-HOST-IDEN"},
        {"node7", ComputerNameDnsHostname, u"node7"},
        {"node7", ComputerNamePhysicalNetBIOS, u"NODE7"},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(::sethostname(c.host.data(), c.host.size()), 0);
        EXPECT_EQ(ReadName(c.format), c.name) << c.host << ", format " << c.format;
    }
    DWORD size = 0;
    EXPECT_EQ(os::GetComputerNameExW(ComputerNameMax, nullptr, &size), FALSE);
    EXPECT_EQ(os::GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(HostsFile, TheFirstLineListingTheNameGivesItsCanonicalName) {
    const std::string hosts =
        "# static names\n"
        "127.0.0.1\tlocalhost\n"
        "192.0.2.7  node7.example.test node7  # the build host\n"
        "192.0.2.8  node7.other.test node7\n"
        "#192.0.2.9 node9.example.test node9\n"
        "::1 ip6-localhost ip6-loopback\n";
    const struct {
        std::string name;
        std::optional<std::string> canonical;
    } cases[] = {
        {"node7", "node7.example.test"},
        {"NODE7", "node7.example.test"},
        {"node7.example.test", "node7.example.test"},
        {"ip6-loopback", "ip6-localhost"},
        {"node9", std::nullopt},
        {"node", std::nullopt},
    };
    for (const auto& c : cases) {
        std::istringstream in(hosts);
        EXPECT_EQ(os::detail::CanonicalNameFromHosts(in, c.name), c.canonical) << c.name;
    }
}

}  // namespace
}  // namespace hvx
