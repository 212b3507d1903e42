// What the management client reports of the machine: fresh GUIDs and their text, the machine
// account SID and its text, the OS version and the up-time.
#include <gtest/gtest.h>
#include <sys/utsname.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "platform/guid.h"
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

TEST(MachineFacts, FreshGuidsAreRandomVersion4InLowerCaseText) {
    std::set<std::u16string> seen;
    for (int i = 0; i < 100; ++i) {
        Guid guid{};
        ASSERT_EQ(UuidCreate(guid), 0);
        std::u16string text;
        ASSERT_EQ(UuidToString(guid, text), 0);
        ASSERT_EQ(text.size(), 36U);
        EXPECT_EQ(text[14], u'4');
        EXPECT_NE(std::u16string(u"89ab").find(text[19]), std::u16string::npos) << "variant";
        EXPECT_EQ(text.find_first_not_of(u"0123456789abcdef-"), std::u16string::npos);
        seen.insert(text);
    }
    EXPECT_EQ(seen.size(), 100U);
    std::u16string text;
    ASSERT_EQ(UuidToString({0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E, 0x6F, 0x70, 0x81, 0x92, 0xA3, 0xB4,
                            0xC5, 0xD6, 0xE7, 0xF8},
                           text),
              0);
    EXPECT_EQ(text, u"001a2b3c-4d5e-6f70-8192-a3b4c5d6e7f8");
}

TEST(MachineFacts, SidText) {
    const struct {
        std::vector<std::uint8_t> sid;
        const char16_t* text;  // null: not a SID
    } cases[] = {
        {{1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0}, u"S-1-5-18"},
        {{1, 4, 0, 0, 0, 0, 0, 5, 21, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF},
         u"S-1-5-21-1-2-4294967295"},
        {{1, 0, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}, u"S-1-0x123456789ABC"},
        {{1, 2, 0, 0, 0, 0, 0, 5, 21, 0, 0, 0}, nullptr},  // one sub-authority short
        {{2, 0, 0, 0, 0, 0, 0, 5}, nullptr},               // another revision
        {{}, nullptr},
    };
    for (const auto& c : cases) {
        std::u16string text = u"kept";
        EXPECT_EQ(ConvertSidToStringSid(c.sid, text), c.text != nullptr);
        EXPECT_EQ(text, c.text != nullptr ? c.text : u"kept");
    }
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

TEST(MachineFacts, VersionAndUpTime) {
    OSVERSIONINFOEXW info{};
    ASSERT_EQ(GetOsVersionInfo(info), TRUE);
    utsname names{};
    ASSERT_EQ(::uname(&names), 0);
    const std::string release = names.release;
    EXPECT_EQ(release.rfind(std::to_string(info.dwMajorVersion) + "." +
                                std::to_string(info.dwMinorVersion) + ".",
                            0),
              0U)
        << release;
    EXPECT_EQ(info.dwOSVersionInfoSize, sizeof info);
    EXPECT_NE(GetNativeArchitecture(), kArchitectureUnknown);
    DWORD type = 7;
    EXPECT_EQ(LookupProductInfo(6, 1, 0, 0, type), ProductInfoLookup::FunctionMissing);
    EXPECT_EQ(type, 0U);
    std::uint64_t upTime = 0;
    ASSERT_TRUE(GetSystemUpTime(upTime));
    EXPECT_GT(upTime, 0U);
}

}  // namespace
}  // namespace hvx::os
