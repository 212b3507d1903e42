// The fully qualified name on Linux: a dotted name as it is, the hosts file first, then the
// resolver on the calling thread against DNS servers of the test's making on 127.0.0.1.
#include "platform/posix/fqdn_lookup.h"

#include <arpa/nameser.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "tests/support/temp_dir.h"
#include "tests/unit/host/dns_responder.h"

namespace hvx {
namespace {

using os::detail::CanonicalNameFromResolver;
using os::detail::FqdnSources;
using os::detail::LookUpFullyQualifiedName;
using test::DnsResponder;

std::size_t OpenDescriptors() {
    const std::filesystem::directory_iterator entries("/proc/self/fd");
    return static_cast<std::size_t>(std::distance(begin(entries), end(entries)));
}

// "node7" is an alias of an alias, its address record owned by the name in other letter case;
// "v6only" has an AAAA record and no A record; "loop" and "dangling" never reach an address.
DnsResponder::Zone Names() {
    return {
        {"node7",
         {{"", ns_t_cname, "www7.example.test"},
          {"Node7.Example.Test", ns_t_a, "192.0.2.7"},
          {"www7.example.test", ns_t_cname, "node7.example.test"}}},
        {"v6only",
         {{"", ns_t_cname, "v6.example.test"}, {"v6.example.test", ns_t_aaaa, "2001:db8::6"}}},
        {"loop",
         {{"", ns_t_cname, "a.example.test"},
          {"a.example.test", ns_t_cname, "b.example.test"},
          {"b.example.test", ns_t_cname, "a.example.test"}}},
        {"dangling", {{"", ns_t_cname, "gone.example.test"}}},
    };
}

TEST(ResolverLookUp, FollowsAliasesToTheNameThatOwnsTheAddress) {
    const DnsResponder server(Names());
    const struct {
        std::string name;
        std::optional<std::string> canonical;
    } cases[] = {
        {"node7", "node7.example.test"}, {"v6only", "v6.example.test"}, {"loop", std::nullopt},
        {"dangling", std::nullopt},      {"unknown", std::nullopt},
    };
    const std::size_t descriptors = OpenDescriptors();
    for (const auto& c : cases) {
        EXPECT_EQ(CanonicalNameFromResolver(c.name, server.Address()), c.canonical) << c.name;
    }
    EXPECT_EQ(OpenDescriptors(), descriptors) << "every resolver socket is closed";
}

TEST(FqdnLookUp, ADottedNameStandsTheHostsFileAnswersFirstAndTheHostNameIsTheLastWord) {
    const DnsResponder server(Names());
    const test::TempDir dir;
    const std::filesystem::path hosts = dir / "hosts";
    std::ofstream(hosts) << "192.0.2.8 node8.hosts.test node8\n"
                            "192.0.2.7 node7.hosts.test node7\n";
    const FqdnSources sources{hosts.string(), server.Address()};
    const struct {
        std::string name;
        std::string fqdn;
    } cases[] = {
        {"node7", "node7.hosts.test"},  // the server knows it too
        {"v6only", "v6.example.test"},
        {"node7.lan", "node7.lan"},  // the server would call it node7.example.test
        {"dangling", "dangling"},
        {"unknown", "unknown"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LookUpFullyQualifiedName(c.name, sources), c.fqdn) << c.name;
    }
}

TEST(FqdnLookUp, ASilentServerGivesThePlainHostNameAndLeavesNothingOpen) {
    const DnsResponder silent;
    const test::TempDir dir;
    const std::filesystem::path hosts = dir / "hosts";
    std::ofstream(hosts) << "127.0.0.1 localhost\n";
    const std::size_t descriptors = OpenDescriptors();
    EXPECT_EQ(LookUpFullyQualifiedName("node7", {hosts.string(), silent.Address()}), "node7");
    EXPECT_EQ(OpenDescriptors(), descriptors) << "every resolver socket is closed";
}

}  // namespace
}  // namespace hvx
