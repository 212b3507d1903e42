// The Windows side of the machine facts: the SID of an account is LookupAccountNameW's, and
// GetProductInfo is found in kernel32 at run time.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/machine_sid.h"
#include "platform/os_facts.h"

namespace hvx::os {
namespace {

TEST(MachineFacts, AccountSidIsTheSystemsAndNeverTheFallback) {
    bool asked = false;
    const MachineIdFallback fallback = [&asked](MachineId& id) {
        asked = true;
        id.fill(7);
        return true;
    };
    std::vector<std::uint8_t> sid{1, 2, 3};
    EXPECT_EQ(LookupAccountSid(u"caspo-no-such-account$", fallback, sid),
              static_cast<DWORD>(ERROR_NONE_MAPPED));
    EXPECT_TRUE(sid.empty());

    ASSERT_EQ(LookupAccountSid(u"SYSTEM", fallback, sid), static_cast<DWORD>(ERROR_SUCCESS));
    std::u16string text;
    ASSERT_TRUE(ConvertSidToStringSid(sid, text));
    EXPECT_EQ(text, u"S-1-5-18");
    EXPECT_FALSE(asked);
}

TEST(MachineFacts, ProductInfoIsFoundAtRunTime) {
    DWORD type = 0;
    EXPECT_EQ(LookupProductInfo(6, 1, 0, 0, type), ProductInfoLookup::Found);
    EXPECT_NE(type, 0U);  // PRODUCT_UNDEFINED
}

}  // namespace
}  // namespace hvx::os
