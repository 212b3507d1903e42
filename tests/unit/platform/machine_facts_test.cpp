// What the management client reports of the machine: fresh GUIDs and their text, the text of a
// SID, the OS version and the up-time. How each system finds the machine account's SID and the
// product type is in machine_facts_posix_test.cpp and machine_facts_win32_test.cpp.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/guid.h"
#include "platform/machine_sid.h"
#include "platform/os_facts.h"
#include "platform/os_release.h"

namespace hvx::os {
namespace {

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

TEST(MachineFacts, VersionAndUpTime) {
    OSVERSIONINFOEXW info{};
    ASSERT_EQ(GetOsVersionInfo(info), TRUE);
    // uname's release on POSIX, the kernel's "major.minor.build" on Windows.
    const std::string release = GetOsRelease();
    EXPECT_EQ(release.rfind(std::to_string(info.dwMajorVersion) + "." +
                                std::to_string(info.dwMinorVersion) + ".",
                            0),
              0U)
        << release;
    EXPECT_EQ(info.dwOSVersionInfoSize, sizeof info);
    EXPECT_NE(GetNativeArchitecture(), kArchitectureUnknown);
    std::uint64_t upTime = 0;
    ASSERT_TRUE(GetSystemUpTime(upTime));
    EXPECT_GT(upTime, 0U);
}

}  // namespace
}  // namespace hvx::os
