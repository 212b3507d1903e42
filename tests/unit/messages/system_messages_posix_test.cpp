// The POSIX platform layer's own English texts of the Win32 error numbers it reports.
#include <gtest/gtest.h>

#include <string>

#include "platform/format_message.h"
#include "platform/last_error.h"
#include "platform/resources.h"
#include "tests/unit/messages/system_text.h"

namespace hvx::os {
namespace {

TEST(PlatformSystemMessages, EnglishWording) {
    const struct {
        DWORD error;
        std::u16string text;
    } cases[] = {
        {ERROR_SUCCESS, u"The operation succeeded.\r\n"},
        {ERROR_FILE_NOT_FOUND, u"The file does not exist.\r\n"},
        {ERROR_ACCESS_DENIED, u"Access was denied.\r\n"},
        {ERROR_MOD_NOT_FOUND, u"The module was not found.\r\n"},
        {ERROR_MR_MID_NOT_FOUND, u"No text exists for this message number.\r\n"},
        {ERROR_RESOURCE_DATA_NOT_FOUND, u"The module carries no resources.\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(test::SystemText(c.error), c.text) << c.error;
    }
}

TEST(PlatformSystemMessages, OnlyEnglishOrNeutralIsFound) {
    std::u16string text;
    EXPECT_EQ(
        test::Format(test::kFromSystem, nullptr, ERROR_ACCESS_DENIED, test::kLanguageGerman, text),
        static_cast<DWORD>(ERROR_RESOURCE_LANG_NOT_FOUND));
    EXPECT_EQ(text, u"");
}

}  // namespace
}  // namespace hvx::os
