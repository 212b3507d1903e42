// FormatMessageW and FindResourceData on modules whose resources are scripted.
#include "platform/format_message.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "fuzz/scripted_module.h"
#include "platform/last_error.h"
#include "platform/module.h"
#include "platform/resources.h"
#include "support/module_handle.h"
#include "tests/unit/messages/system_text.h"

namespace hvx::os {
namespace {

using fuzz::ScriptedModule;
using namespace hvx::test;

constexpr const char16_t* kModule = u"messagesprobe.dll";

// Two blocks: 1 to 2, and 10.
constexpr std::array kMessages =
    std::to_array<ResourceText>({{1, u"First"}, {2, u"Second %s"}, {10, u"Tenth"}});

TEST(PlatformFormatMessage, MessagesOfAModuleAndOfTheSystem) {
    const ScriptedModule resources(kModule,
                                   {{kResourceTypeMessageTable, kMessageTableId, kLanguageEnglishUs,
                                     ScriptedModule::MessageTable(kMessages)}});
    const ModuleHandle module(LoadLibraryW(kModule));
    ASSERT_NE(module.get(), nullptr);
    const struct {
        DWORD flags;
        DWORD id;
        DWORD language;
        DWORD error;
        std::u16string text;
    } cases[] = {
        {kFromModule, 1, kLanguageEnglishUs, ERROR_SUCCESS, u"First\r\n"},
        {kFromModule, 2, kLanguageNeutral, ERROR_SUCCESS, u"Second %s\r\n"},
        {kFromModule, 10, kLanguageUserDefault, ERROR_SUCCESS, u"Tenth\r\n"},
        {kFromModule, 3, kLanguageEnglishUs, ERROR_MR_MID_NOT_FOUND, u""},
        {kFromModule, 11, kLanguageEnglishUs, ERROR_MR_MID_NOT_FOUND, u""},
        {kFromModule, 1, kLanguageGerman, ERROR_RESOURCE_LANG_NOT_FOUND, u""},
        {kFromModule | kFromSystem, 1, kLanguageEnglishUs, ERROR_SUCCESS, u"First\r\n"},
        {kFromModule | kFromSystem, ERROR_ACCESS_DENIED, kLanguageEnglishUs, ERROR_SUCCESS,
         test::SystemText(ERROR_ACCESS_DENIED)},
        {kFromSystem, 0xFFFFFFFFu, kLanguageUserDefault, ERROR_MR_MID_NOT_FOUND, u""},
        {kFromModule & ~FORMAT_MESSAGE_IGNORE_INSERTS, 1, kLanguageEnglishUs,
         ERROR_INVALID_PARAMETER, u""},
        {kFromModule & ~FORMAT_MESSAGE_ALLOCATE_BUFFER, 1, kLanguageEnglishUs,
         ERROR_INVALID_PARAMETER, u""},
        {FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS, 1, kLanguageEnglishUs,
         ERROR_INVALID_PARAMETER, u""},
    };
    for (const auto& c : cases) {
        std::u16string text;
        EXPECT_EQ(Format(c.flags, module.get(), c.id, c.language, text), c.error)
            << "flags " << c.flags << ", id " << c.id;
        EXPECT_EQ(text, c.text) << "id " << c.id;
    }
}

TEST(PlatformFormatMessage, ModulesWithoutTheMessageAreRefused) {
    const std::vector<std::uint8_t> table = ScriptedModule::MessageTable(kMessages);
    std::vector<std::uint8_t> truncated = table;
    truncated.resize(table.size() - 4);  // the last entry ("Tenth") loses its end
    const struct {
        std::vector<fuzz::ScriptedResource> resources;
        DWORD id;
        DWORD error;
    } cases[] = {
        {{}, 1, ERROR_RESOURCE_TYPE_NOT_FOUND},
        {{{kResourceTypeString, 1, kLanguageNeutral, ScriptedModule::StringBlock(kMessages, 1)}},
         1,
         ERROR_RESOURCE_TYPE_NOT_FOUND},
        {{{kResourceTypeMessageTable, 2, kLanguageEnglishUs, table}},
         1,
         ERROR_RESOURCE_NAME_NOT_FOUND},
        {{{kResourceTypeMessageTable, kMessageTableId, kLanguageEnglishUs, truncated}},
         10,
         ERROR_MR_MID_NOT_FOUND},
    };
    for (const auto& c : cases) {
        const ScriptedModule resources(kModule, c.resources);
        const ModuleHandle module(LoadLibraryW(kModule));
        std::u16string text;
        EXPECT_EQ(Format(kFromModule, module.get(), c.id, kLanguageEnglishUs, text), c.error);
    }
}

TEST(PlatformResources, NeutralRequestsPreferNeutralThenEnglish) {
    // The first byte tells the languages apart: 1 neutral, 2 English, 3 German.
    const std::vector<std::uint8_t> neutral(4, 1);
    const std::vector<std::uint8_t> english(4, 2);
    const std::vector<std::uint8_t> german(4, 3);
    const ScriptedModule resources(kModule,
                                   {{kResourceTypeString, 1, kLanguageGerman, german},
                                    {kResourceTypeString, 1, kLanguageEnglishUs, english},
                                    {kResourceTypeString, 1, kLanguageNeutral, neutral},
                                    {kResourceTypeString, 2, kLanguageGerman, german},
                                    {kResourceTypeString, 2, kLanguageEnglishUs, english}});
    const ModuleHandle module(LoadLibraryW(kModule));
    const struct {
        DWORD id;
        DWORD language;
        std::uint8_t first;
    } cases[] = {
        {1, kLanguageNeutral, 1}, {1, kLanguageUserDefault, 1}, {1, kLanguageGerman, 3},
        {2, kLanguageNeutral, 2}, {2, kLanguageEnglishUs, 2},
    };
    for (const auto& c : cases) {
        ResourceData data;
        ASSERT_TRUE(FindResourceData(module.get(), kResourceTypeString, c.id, c.language, data));
        ASSERT_EQ(data.size, 4u);
        EXPECT_EQ(data.bytes[0], c.first) << "id " << c.id << ", language " << c.language;
    }
}

}  // namespace
}  // namespace hvx::os
