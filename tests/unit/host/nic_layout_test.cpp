// The stored form of the adapter inventory, on an in-memory store that the process-wide
// singleton loads as "tolva.dll".
#include "support/nic_layout.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "interfaces/hvx_types.h"
#include "tests/unit/host/nic_record_printer.h"
#include "tests/unit/support/singleton_store_fixture.h"

namespace hvx {
namespace {

constexpr const char* kBase = "config/ostra/sync/nic_layout";

class NicLayout : public test::SingletonStoreTest {
protected:
    // Position n with the given index (none: no "index" key) and MAC.
    static void PutPosition(int n, std::optional<std::uint32_t> index, const std::u16string& mac) {
        const std::string key = std::string(kBase) + "/n" + std::to_string(n) + "/";
        store().PutDword(key + "active", 1);
        if (index) {
            store().PutDword(key + "index", *index);
        }
        store().PutWide(key + "mac", mac);
    }
};

TEST_F(NicLayout, SavedInventoryReadsBackTheSame) {
    const NicInventory saved{
        {2, {u"{4D36E972}", u"Ethernet", u"192.0.2.10", u"", u"02:00:5e:10:00:01", 2, 1}},
        {7, {u"wlan0", u"Wi-Fi", u"198.51.100.7", u"2001:db8::7", u"02:00:5e:10:00:07", 7, 0}}};
    EXPECT_EQ(SaveNicLayout(kBase, saved), S_OK);
    EXPECT_EQ(store().Dword(std::string(kBase) + "/n1/index"), 7u);
    EXPECT_EQ(store().Wide(std::string(kBase) + "/n0/friendly_name"), u"Ethernet");
    EXPECT_EQ(store().saveCount, 14) << "each value is saved as it is written";
    NicInventory loaded{{99, {}}};
    EXPECT_EQ(LoadNicLayout(kBase, loaded), S_OK);
    EXPECT_EQ(loaded, saved);
}

TEST_F(NicLayout, WithoutPositionZeroNothingIsRead) {
    PutPosition(1, 5, u"02:00:5e:10:00:05");
    NicInventory loaded{{99, {}}};
    EXPECT_EQ(LoadNicLayout(kBase, loaded), HVX_E_GENERAL);
    EXPECT_TRUE(loaded.empty());
}

TEST_F(NicLayout, AtMostOneHundredPositionsAreRead) {
    for (int n = 0; n < 150; ++n) {
        PutPosition(n, 1000 + n, u"02:00:5e:10:00:01");
    }
    NicInventory loaded;
    EXPECT_EQ(LoadNicLayout(kBase, loaded), S_OK);
    ASSERT_EQ(loaded.size(), 100u);
    EXPECT_EQ(loaded.begin()->first, 1000u);
    EXPECT_EQ(loaded.rbegin()->first, 1099u);
}

TEST_F(NicLayout, ALaterPositionWithTheSameIndexWins) {
    PutPosition(0, 5, u"02:00:5e:10:00:0a");
    PutPosition(1, 5, u"02:00:5e:10:00:0b");
    NicInventory loaded;
    EXPECT_EQ(LoadNicLayout(kBase, loaded), S_OK);
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_EQ(loaded.at(5).mac, u"02:00:5e:10:00:0b");
}

TEST_F(NicLayout, MissingFieldsKeepTheValuesOfThePositionBefore) {
    PutPosition(0, std::nullopt, u"02:00:5e:10:00:00");
    PutPosition(1, 8, u"02:00:5e:10:00:08");
    store().PutWide(std::string(kBase) + "/n1/name", u"eth8");
    store().PutDword(std::string(kBase) + "/n2/active", 0);
    NicInventory loaded;
    EXPECT_EQ(LoadNicLayout(kBase, loaded), S_OK);
    EXPECT_EQ(loaded, (NicInventory{{0, {u"", u"", u"", u"", u"02:00:5e:10:00:00", 0, 1}},
                                    {8, {u"eth8", u"", u"", u"", u"02:00:5e:10:00:08", 8, 0}}}))
        << "position 2 has only \"active\": it replaces position 1's record with active 0";
}

}  // namespace
}  // namespace hvx
