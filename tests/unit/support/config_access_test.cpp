// The convenience reads and writes, on a scripted store that the singleton loads as "tolva.dll".
#include "support/config_access.h"

#include <gtest/gtest.h>

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

TEST_F(ConfigAccess, WriteOverwritesAnExistingValueAndSaves) {
    store().PutDword("config/ostra/policy_id", 1);
    EXPECT_EQ(WriteConfigDword("config/ostra/policy_id", 2), S_OK);
    EXPECT_EQ(store().Dword("config/ostra/policy_id"), 2u);
    EXPECT_EQ(store().saveCount, 1);
}

TEST_F(ConfigAccess, WriteAddsAMissingKeyWhenSetFails) {
    EXPECT_EQ(WriteConfigString("config/ostra/sync/hostname", u"host.example"), S_OK);
    EXPECT_EQ(store().Wide("config/ostra/sync/hostname"), u"host.example");
    EXPECT_EQ(WriteConfigDword("config/ostra/sync/n0/index", 3), S_OK);
    EXPECT_EQ(store().Dword("config/ostra/sync/n0/index"), 3u);
    EXPECT_EQ(store().saveCount, 2);
}

TEST_F(ConfigAccess, WriteFailsWithoutSavingWhenSetAndAddFail) {
    store().failSet = store().failAdd = true;
    EXPECT_EQ(WriteConfigString("config/ostra/sync/hostname", u"x"), HVX_E_CONFIG_WRITE);
    EXPECT_EQ(WriteConfigDword("config/ostra/policy_id", 1), HVX_E_CONFIG_WRITE);
    EXPECT_EQ(store().saveCount, 0);
    EXPECT_FALSE(store().Find("config/ostra/sync/hostname"));
}

TEST_F(ConfigAccess, FailedSaveIsReported) {
    store().failSave = true;
    EXPECT_EQ(WriteConfigString("config/ostra/sync/hostname", u"x"), HVX_E_CONFIG_SAVE);
    EXPECT_EQ(WriteConfigDword("config/ostra/policy_id", 1), HVX_E_CONFIG_SAVE);
    EXPECT_EQ(store().saveCount, 2);
}

}  // namespace
}  // namespace hvx
