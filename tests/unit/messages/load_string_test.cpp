// hvx::LoadString on string blocks scripted to break in each way a block can (rosta's product
// name is checked in the texts of the result codes that carry it).
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/scripted_module.h"
#include "platform/resources.h"
#include "siblings/rosta/rosta.h"
#include "support/messages.h"

namespace hvx {
namespace {

using fuzz::ScriptedModule;

constexpr const char16_t* kModule = u"stringsprobe.dll";
constexpr std::u16string_view kUntouched = u"untouched";

// Block 2 holds strings 16 to 31: 16 and 31 are given, 17 to 30 are empty.
constexpr std::array kStrings = std::to_array<os::ResourceText>({{16, u"first"}, {31, u"last"}});

TEST(LoadString, EntriesOfAScriptedBlock) {
    const std::vector<std::uint8_t> block = ScriptedModule::StringBlock(kStrings, 2);
    // Block 3 is block 2 cut short after its first entry, block 4 cut inside that entry's text.
    const std::vector<std::uint8_t> shortBlock(block.begin(), block.begin() + 2 + 10);
    const std::vector<std::uint8_t> cutText(block.begin(), block.begin() + 2 + 4);
    const ScriptedModule resources(
        kModule, {{os::kResourceTypeString, 2, os::kLanguageEnglishUs, block},
                  {os::kResourceTypeString, 3, os::kLanguageEnglishUs, shortBlock},
                  {os::kResourceTypeString, 4, os::kLanguageEnglishUs, cutText}});
    const struct {
        UINT id;
        HRESULT result;
        std::u16string_view text;
        const char* what;
    } cases[] = {
        {16, S_OK, u"first", "first entry"},
        {31, S_OK, u"last", "last entry"},
        {17, E_FAIL, kUntouched, "empty entry"},
        {30, E_FAIL, kUntouched, "empty entry before the last"},
        {15, E_FAIL, kUntouched, "block 1 is missing"},
        {80, E_FAIL, kUntouched, "block 6 is missing"},
        {32, S_OK, u"first", "block 3's whole first entry"},
        {33, E_FAIL, kUntouched, "entry past block 3's end"},
        {48, E_FAIL, kUntouched, "block 4 ends inside its first entry's text"},
    };
    for (const auto& c : cases) {
        std::u16string text(kUntouched);
        EXPECT_EQ(LoadString(kModule, c.id, text), c.result) << c.what;
        EXPECT_EQ(text, c.text) << c.what;
    }
}

TEST(LoadString, ModuleThatCannotBeLoaded) {
    for (const char16_t* name : {u"", u"nosuchmodule.dll"}) {
        std::u16string text(kUntouched);
        EXPECT_EQ(LoadString(name, IDS_HALVEX_PROTECT, text), E_FAIL);
        EXPECT_EQ(text, kUntouched);
    }
}

}  // namespace
}  // namespace hvx
