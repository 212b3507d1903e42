// FormatMessageW and FindResourceData on modules whose resources are scripted.
#include "platform/format_message.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "platform/last_error.h"
#include "platform/module.h"
#include "platform/resources.h"
#include "tests/unit/messages/scripted_resources.h"

namespace hvx::os {
namespace {

using test::ScriptedResources;

constexpr const char16_t* kModule = u"messagesprobe.dll";
constexpr DWORD kFromModule =
    FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS;
constexpr DWORD kFromSystem =
    FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
constexpr DWORD kLanguageGerman = 0x0407;

// Two blocks: 1 to 2, and 10.
constexpr std::array kMessages =
    std::to_array<ResourceText>({{1, u"First"}, {2, u"Second %s"}, {10, u"Tenth"}});

// ERROR_SUCCESS and the text, or the last error; the buffer is null on failure.
DWORD Format(DWORD flags, HMODULE module, DWORD id, DWORD language, std::u16string& text) {
    char16_t* raw = nullptr;
    const DWORD length = FormatMessageW(flags, module, id, language, &raw);
    const LocalText owned(raw);
    if (length == 0) {
        EXPECT_EQ(raw, nullptr);
        return GetLastError();
    }
    text = owned.get();
    EXPECT_EQ(length, text.size());
    return ERROR_SUCCESS;
}

// Loads a scripted module for the life of the object.
class Loaded {
public:
    explicit Loaded(const char16_t* name) : m_module(LoadLibraryW(name)) {}
    ~Loaded() { FreeLibrary(m_module); }
    Loaded(const Loaded&) = delete;
    Loaded& operator=(const Loaded&) = delete;
    Loaded(Loaded&&) = delete;
    Loaded& operator=(Loaded&&) = delete;
    HMODULE get() const { return m_module; }

private:
    HMODULE m_module;
};

TEST(PlatformFormatMessage, MessagesOfAModuleAndOfTheSystem) {
    const std::vector<std::uint8_t> table = ScriptedResources::MessageTable(kMessages);
    const ScriptedResources resources(
        kModule, {ScriptedResources::Entry(kResourceTypeMessageTable, kMessageTableId,
                                           kLanguageEnglishUs, table)});
    const Loaded module(kModule);
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
         u"Access was denied.\r\n"},
        {kFromSystem, ERROR_MOD_NOT_FOUND, kLanguageUserDefault, ERROR_SUCCESS,
         u"The module was not found.\r\n"},
        {kFromSystem, ERROR_ACCESS_DENIED, kLanguageGerman, ERROR_RESOURCE_LANG_NOT_FOUND, u""},
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
    const std::vector<std::uint8_t> table = ScriptedResources::MessageTable(kMessages);
    std::vector<std::uint8_t> truncated = table;
    truncated.resize(table.size() - 4);  // the last entry ("Tenth") loses its end
    const std::vector<std::uint8_t> strings = ScriptedResources::StringBlock(kMessages, 1);
    const struct {
        std::vector<ResourceEntry> entries;
        DWORD id;
        DWORD error;
    } cases[] = {
        {{}, 1, ERROR_RESOURCE_TYPE_NOT_FOUND},
        {{ScriptedResources::Entry(kResourceTypeString, 1, kLanguageNeutral, strings)},
         1,
         ERROR_RESOURCE_TYPE_NOT_FOUND},
        {{ScriptedResources::Entry(kResourceTypeMessageTable, 2, kLanguageEnglishUs, table)},
         1,
         ERROR_RESOURCE_NAME_NOT_FOUND},
        {{ScriptedResources::Entry(kResourceTypeMessageTable, kMessageTableId, kLanguageEnglishUs,
                                   truncated)},
         10,
         ERROR_MR_MID_NOT_FOUND},
    };
    for (const auto& c : cases) {
        const ScriptedResources resources(kModule, c.entries);
        const Loaded module(kModule);
        std::u16string text;
        EXPECT_EQ(Format(kFromModule, module.get(), c.id, kLanguageEnglishUs, text), c.error);
    }
}

TEST(PlatformFormatMessage, ModuleWithoutResourceTable) {
    RegisterBuiltinModule(kModule, {});
    const Loaded module(kModule);
    std::u16string text;
    EXPECT_EQ(Format(kFromModule, module.get(), 1, kLanguageEnglishUs, text),
              ERROR_RESOURCE_DATA_NOT_FOUND);
    UnregisterBuiltinModule(kModule);
}

TEST(PlatformResources, NeutralRequestsPreferNeutralThenEnglish) {
    const std::vector<std::uint8_t> neutral(4, 1);
    const std::vector<std::uint8_t> english(4, 2);
    const std::vector<std::uint8_t> german(4, 3);
    const ScriptedResources resources(
        kModule, {ScriptedResources::Entry(kResourceTypeString, 1, kLanguageGerman, german),
                  ScriptedResources::Entry(kResourceTypeString, 1, kLanguageEnglishUs, english),
                  ScriptedResources::Entry(kResourceTypeString, 1, kLanguageNeutral, neutral),
                  ScriptedResources::Entry(kResourceTypeString, 2, kLanguageGerman, german),
                  ScriptedResources::Entry(kResourceTypeString, 2, kLanguageEnglishUs, english)});
    const Loaded module(kModule);
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
