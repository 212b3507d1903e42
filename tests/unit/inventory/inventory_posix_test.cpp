// The language identifier on POSIX: from the locale environment, the way a program's messages
// choose their language.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "clients/inventory/product_inventory_http.h"
#include "tests/support/client_test.h"
#include "tests/support/temp_dir.h"

namespace hvx::test {
namespace {

using Setting = std::optional<std::string>;

// The locale environment of one test: LC_ALL, LC_MESSAGES and LANG.
struct Locale {
    ScopedEnv all, messages, lang;
    Locale(const Setting& lcAll, const Setting& lcMessages, const Setting& language)
        : all("LC_ALL", lcAll), messages("LC_MESSAGES", lcMessages), lang("LANG", language) {}
};

using InventoryLanguageTest = ClientTest;

TEST_F(InventoryLanguageTest, TheLanguageComesFromTheLocaleEnvironment) {
    struct Row {
        Setting all, messages, lang;
        std::u16string expected;
    };
    const Row rows[] = {
        {std::nullopt, std::nullopt, "en_US.UTF-8", u"1033"},
        {std::nullopt, std::nullopt, "de_AT.UTF-8", u"3079"},
        {"fr_CA.UTF-8", "de_DE.UTF-8", "en_US.UTF-8", u"3084"},
        {"", "pt_BR", "en_US", u"1046"},
        {std::nullopt, std::nullopt, "de_BE.UTF-8@euro", u"1031"},
        {std::nullopt, std::nullopt, "C.UTF-8", u""},
        {std::nullopt, std::nullopt, "xx_YY", u""},
        {std::nullopt, std::nullopt, std::nullopt, u""},
    };
    for (const Row& row : rows) {
        const Locale scoped(row.all, row.messages, row.lang);
        CProductInventoryHttp fresh;
        ASSERT_EQ(fresh.Init(), S_OK);
        EXPECT_EQ(fresh.UserLangId(), row.expected) << row.lang.value_or("(none)");
    }
}

}  // namespace
}  // namespace hvx::test
