// The POSIX side of the machine facts: the machine SID comes from the machine id (or the caller's
// fallback), whatever the account, and GetProductInfo does not exist.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/machine_sid.h"
#include "platform/os_facts.h"

namespace hvx::os {
namespace {

// Whether the system keeps a machine id (32 hexadecimal digits) where the SID is derived from.
bool HasMachineId() {
    for (const char* path : {"/etc/machine-id", "/var/lib/dbus/machine-id"}) {
        std::ifstream file(path);
        std::string line;
        if (std::getline(file, line) && line.size() >= 32 &&
            line.find_first_not_of("0123456789abcdefABCDEF") >= 32) {
            return true;
        }
    }
    return false;
}

TEST(MachineFacts, MachineSidIsStableAndNeedsTheFallbackOnlyWithoutAMachineId) {
    bool asked = false;
    const MachineIdFallback fallback = [&asked](MachineId& id) {
        asked = true;
        id.fill(7);
        return true;
    };
    std::vector<std::uint8_t> first;
    std::vector<std::uint8_t> second;
    ASSERT_EQ(LookupAccountSid(u"HOST$", fallback, first), ERROR_SUCCESS);
    ASSERT_EQ(LookupAccountSid(u"OTHER$", fallback, second), ERROR_SUCCESS);
    EXPECT_EQ(first, second);
    std::u16string text;
    ASSERT_TRUE(ConvertSidToStringSid(first, text));
    EXPECT_EQ(text.rfind(u"S-1-5-21-", 0), 0U) << std::string(text.begin(), text.end());
    EXPECT_EQ(first.size(), 24U);
    EXPECT_EQ(asked, !HasMachineId());
}

// Written in hexadecimal as Windows writes it (Wine's ConvertSidToStringSidW refuses an
// authority this large).
TEST(MachineFacts, AuthorityOf48BitsIsWrittenInHex) {
    std::u16string text;
    ASSERT_TRUE(ConvertSidToStringSid({1, 0, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}, text));
    EXPECT_EQ(text, u"S-1-0x123456789ABC");
}

TEST(MachineFacts, ProductInfoDoesNotExist) {
    DWORD type = 7;
    EXPECT_EQ(LookupProductInfo(6, 1, 0, 0, type), ProductInfoLookup::FunctionMissing);
    EXPECT_EQ(type, 0U);
    EXPECT_FALSE(IsServerR2());
}

}  // namespace
}  // namespace hvx::os
