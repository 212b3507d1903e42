// The convenience reads and writes, on a scripted store that the singleton loads as "tolva.dll".
#include "support/config_access.h"

#include <gtest/gtest.h>

#include <optional>

#include "interfaces/hvx_types.h"
#include "tests/unit/support/singleton_store_fixture.h"

namespace hvx {
namespace {

using ConfigAccess = test::SingletonStoreTest;

TEST_F(ConfigAccess, DwordReads) {
    store().PutDword("config/conn/timeout", 45);
    std::uint32_t value = 7;
    EXPECT_EQ(ReadConfigDword("config/conn/timeout", value), S_OK);
    EXPECT_EQ(value, 45u);
    value = 7;
    EXPECT_EQ(ReadConfigDword2("config/conn/timeout", value), S_OK);
    EXPECT_EQ(value, 45u);
    EXPECT_EQ(ReadConfigDword2Raw("config/conn/timeout"), 45u);
}

TEST_F(ConfigAccess, AbsentOrAllBitsDwordLeavesTheOutput) {
    store().PutDword("config/conn/timeout", 0xFFFFFFFFu);
    for (const char* key : {"config/conn/timeout", "config/missing"}) {
        std::uint32_t value = 7;
        EXPECT_EQ(ReadConfigDword(key, value), HVX_E_CONFIG_UNAVAILABLE);
        EXPECT_EQ(ReadConfigDword2(key, value), HVX_E_CONFIG_UNAVAILABLE);
        EXPECT_EQ(value, 7u);
        EXPECT_EQ(ReadConfigDword2Raw(key), kConfigAbsent);
    }
}

TEST_F(ConfigAccess, StringReads) {
    store().PutWide("config/ostra/endpoint/mgmt", u"https://mgmt.example/");
    store().PutWide("config/agent/cachedhostname", u"");
    std::u16string value = u"previous";
    EXPECT_EQ(ReadConfigString("config/ostra/endpoint/mgmt", value), S_OK);
    EXPECT_EQ(value, u"https://mgmt.example/");
    value = u"previous";
    EXPECT_EQ(ReadConfigString2("config/ostra/endpoint/mgmt", value), S_OK);
    EXPECT_EQ(value, u"https://mgmt.example/");
    // Present but empty counts as found.
    EXPECT_EQ(ReadConfigString("config/agent/cachedhostname", value), S_OK);
    EXPECT_EQ(value, u"");
    value = u"previous";
    EXPECT_EQ(ReadConfigString("config/missing", value), HVX_E_CONFIG_UNAVAILABLE);
    EXPECT_EQ(ReadConfigString2("config/missing", value), HVX_E_CONFIG_UNAVAILABLE);
    EXPECT_EQ(value, u"previous");
}

// A write sets the key, or adds it when setting fails, then saves; each write saves once.
TEST_F(ConfigAccess, WritesSetOrAddThenSave) {
    const struct {
        const char* name;
        bool present;  // both keys hold a value before the writes
        bool failSet;
        bool failAdd;
        bool failSave;
        HRESULT result;
        int saves;
    } cases[] = {
        {"OverwritesAnExistingValue", true, false, false, false, S_OK, 2},
        {"AddsAMissingKeyWhenSetFails", false, false, false, false, S_OK, 2},
        {"FailsWithoutSavingWhenSetAndAddFail", false, true, true, false, HVX_E_CONFIG_WRITE, 0},
        {"ReportsAFailedSave", false, false, false, true, HVX_E_CONFIG_SAVE, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetStore();
        if (c.present) {
            store().PutWide("config/ostra/sync/hostname", u"before");
            store().PutDword("config/ostra/policy_id", 1);
        }
        store().failSet = c.failSet;
        store().failAdd = c.failAdd;
        store().failSave = c.failSave;
        EXPECT_EQ(WriteConfigString("config/ostra/sync/hostname", u"host.example"), c.result);
        EXPECT_EQ(WriteConfigDword("config/ostra/policy_id", 3), c.result);
        EXPECT_EQ(store().saveCount, c.saves);
        const bool written = c.result != HVX_E_CONFIG_WRITE;
        EXPECT_EQ(store().Wide("config/ostra/sync/hostname"),
                  written ? std::optional<std::u16string>(u"host.example") : std::nullopt);
        EXPECT_EQ(store().Dword("config/ostra/policy_id"),
                  written ? std::optional<std::uint32_t>(3) : std::nullopt);
    }
}

}  // namespace
}  // namespace hvx
