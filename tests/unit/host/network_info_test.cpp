// The adapter inventory on real interfaces: a network namespace of the test's making with veth
// pairs (documentation addresses only, no traffic), a tun device and the loopback.
#include "support/network_info.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/if_tun.h>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "interfaces/hvx_types.h"
#include "platform/network_adapters.h"
#include "platform/posix/unique_fd.h"
#include "tests/support/log_capture.h"
#include "tests/unit/host/net_namespace.h"
#include "tests/unit/host/nic_record_printer.h"

namespace hvx {
namespace {

// A tun device held open, so that its link has a carrier; it has no hardware address. Invalid
// when the device cannot be made.
os::detail::UniqueFd AttachedTun(const std::string& name) {
    os::detail::UniqueFd tun(::open("/dev/net/tun", O_RDWR | O_CLOEXEC));
    ifreq request{};
    std::strncpy(request.ifr_name, name.c_str(), IFNAMSIZ - 1);
    request.ifr_flags = IFF_TUN | IFF_NO_PI;
    if (tun.Valid() && ::ioctl(tun.Get(), TUNSETIFF, &request) != 0) {
        return {};
    }
    return tun;
}

// How long a link may take to report the state its commands gave it; a bound, not a timing.
constexpr auto kLinkStateWait = std::chrono::seconds(10);
constexpr auto kLinkStatePoll = std::chrono::milliseconds(20);

class NetworkInfo : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(m_net.problem(), "")
            << "The adapter tests build their interfaces in a network namespace of their own; "
               "run them as root on a kernel that allows unshare(CLONE_NEWNET).";
    }
    static void Make(const std::vector<std::string>& commands) {
        ASSERT_EQ(test::RunIpCommands(commands), "");
    }
    static NicRecord Expected(const std::string& name, const std::u16string& mac,
                              const std::u16string& ipv4) {
        const std::u16string wide(name.begin(), name.end());
        return NicRecord{wide, wide, ipv4, u"", mac, ::if_nametoindex(name.c_str()), 1};
    }

private:
    test::ScopedNamespace m_net{CLONE_NEWNET};
};

void AddVeth(std::vector<std::string>& commands, const test::VethPair& pair) {
    const std::vector<std::string> more = test::VethCommands(pair);
    commands.insert(commands.end(), more.begin(), more.end());
}

TEST_F(NetworkInfo, OnlyAdaptersThatAreUpWithAMacAndARealAddressAreListed) {
    std::vector<std::string> commands{"link set lo up"};
    AddVeth(commands, {"up0", "02:00:5e:10:00:01", {"192.0.2.10/24"}});
    AddVeth(commands, {"two", "02:00:5e:10:00:02", {"192.0.2.20/24", "198.51.100.20/24"}});
    AddVeth(commands, {"loonly", "02:00:5e:10:00:03", {"127.0.0.1/8"}});
    AddVeth(commands, {"noaddr", "02:00:5e:10:00:04", {}});
    AddVeth(commands, {"admindown", "02:00:5e:10:00:05", {"192.0.2.50/24"}, false});
    AddVeth(commands, {"nocarrier", "02:00:5e:10:00:06", {"192.0.2.60/24"}, true, false});
    const os::detail::UniqueFd tun = AttachedTun("tun0");
    ASSERT_TRUE(tun.Valid()) << "/dev/net/tun is needed for an adapter without a MAC";
    commands.insert(commands.end(), {"addr add 192.0.2.70/32 dev tun0", "link set tun0 up"});
    Make(commands);

    const test::LogCapture log;
    NicInventory inventory{{999, NicRecord{}}};
    ASSERT_EQ(DumpNetworkInfo(inventory), S_OK);
    const NicRecord up0 = Expected("up0", u"02:00:5e:10:00:01", u"192.0.2.10");
    const NicRecord two = Expected("two", u"02:00:5e:10:00:02", u"198.51.100.20");
    EXPECT_EQ(inventory, (NicInventory{{up0.index, up0}, {two.index, two}}));
    EXPECT_EQ(log.Traces(), (std::vector<std::string>{"hvx::DumpNetworkInfo: entering",
                                                      "hvx::DumpNetworkInfo: exit."}));
}

// Each adapter as "name type T status S mac N", in the order the platform lists them.
std::vector<std::string> AdapterSummary() {
    DWORD size = 0;
    if (os::GetAdaptersAddresses(os::kAdapterFamilyUnspecified, 0, nullptr, &size) !=
        static_cast<DWORD>(ERROR_BUFFER_OVERFLOW)) {
        return {"no size"};
    }
    std::vector<std::byte> buffer(size);
    auto* list = reinterpret_cast<os::AdapterAddresses*>(buffer.data());
    if (os::GetAdaptersAddresses(os::kAdapterFamilyUnspecified, 0, list, &size) != 0) {
        return {"no list"};
    }
    std::vector<std::string> seen;
    for (const os::AdapterAddresses* a = list; a != nullptr; a = a->next) {
        seen.push_back(std::string(a->adapterName) + " type " + std::to_string(a->ifType) +
                       " status " + std::to_string(a->operStatus) + " mac " +
                       std::to_string(a->physicalAddressLength));
    }
    return seen;
}

TEST_F(NetworkInfo, ThePlatformReportsTypesStatusAndTheAddressTableInOrder) {
    std::vector<std::string> commands{"link set lo up"};
    AddVeth(commands, {"two", "02:00:5e:10:00:02", {"198.51.100.20/24", "192.0.2.20/24"}});
    AddVeth(commands, {"admindown", "02:00:5e:10:00:05", {}, false});
    Make(commands);

    // The kernel reports a veth link as up a moment after both ends are set up: the list is
    // read again until it shows that state, for a few seconds at most.
    const std::vector<std::string> adapters{
        "lo type 24 status 1 mac 0", "twop type 6 status 1 mac 6", "two type 6 status 1 mac 6",
        "admindownp type 6 status 2 mac 6", "admindown type 6 status 2 mac 6"};
    const auto deadline = std::chrono::steady_clock::now() + kLinkStateWait;
    std::vector<std::string> seen = AdapterSummary();
    while (seen != adapters && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(kLinkStatePoll);
        seen = AdapterSummary();
    }
    EXPECT_EQ(seen, adapters);

    DWORD size = 0;
    ASSERT_EQ(os::GetIpAddrTable(nullptr, &size, FALSE),
              static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    std::vector<std::byte> tableMemory(size);
    auto* table = reinterpret_cast<os::IpAddrTable*>(tableMemory.data());
    for (const BOOL sorted : {FALSE, TRUE}) {
        ASSERT_EQ(os::GetIpAddrTable(table, &size, sorted), 0u);
        std::vector<std::string> rows;
        for (const os::IpAddrRow& row : os::IpAddrRows(table)) {
            const auto* b = reinterpret_cast<const std::uint8_t*>(&row.addr);
            rows.push_back(std::to_string(b[0]) + "." + std::to_string(b[3]) + " on " +
                           std::to_string(row.index));
        }
        const std::string lo = "127.1 on " + std::to_string(::if_nametoindex("lo"));
        const std::string two = " on " + std::to_string(::if_nametoindex("two"));
        const std::vector<std::string> expected =
            sorted != FALSE ? std::vector<std::string>{lo, "192.20" + two, "198.20" + two}
                            : std::vector<std::string>{lo, "198.20" + two, "192.20" + two};
        EXPECT_EQ(rows, expected);
    }
}

TEST_F(NetworkInfo, AnAdapterListBeyond64KiBFailsAndLeavesTheInventoryEmpty) {
    // 700 adapters: more than 64 KiB of records and names.
    constexpr int kPairs = 350;
    std::vector<std::string> commands;
    commands.reserve(kPairs);
    for (int i = 0; i < kPairs; ++i) {
        commands.push_back("link add veth-long-n" + std::to_string(i) +
                           " type veth peer name veth-long-p" + std::to_string(i));
    }
    Make(commands);
    NicInventory inventory{{1, NicRecord{}}};
    EXPECT_EQ(DumpNetworkInfo(inventory), HVX_E_GENERAL);
    EXPECT_TRUE(inventory.empty());
}

TEST(FormatMacAddress, BytesAsLowerCaseHexPairs) {
    const struct {
        std::vector<std::uint8_t> bytes;
        std::u16string text;
    } cases[] = {
        {{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}, u"00:1a:2b:3c:4d:5e"},
        {{0x0F}, u"0f"},
        {{0xFF, 0x00, 0xA0, 0x0A, 0x01, 0x10, 0xEE, 0x99}, u"ff:00:a0:0a:01:10:ee:99"},
        {{}, u""},
    };
    for (const auto& c : cases) {
        std::u16string text = u"previous";
        FormatMacAddress(c.bytes.data(), c.bytes.size(), text);
        EXPECT_EQ(text, c.text);
    }
}

}  // namespace
}  // namespace hvx
