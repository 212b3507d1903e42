// The language identifier on Windows: the user's default locale identifier.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "clients/inventory/product_inventory_http.h"
#include "tests/support/client_test.h"

namespace hvx::test {
namespace {

using InventoryLanguageTest = ClientTest;

TEST_F(InventoryLanguageTest, TheLanguageIsTheUsersDefaultLocaleIdentifier) {
    const std::string lcid = std::to_string(::GetUserDefaultLCID());
    CProductInventoryHttp fresh;
    ASSERT_EQ(fresh.Init(), S_OK);
    EXPECT_EQ(fresh.UserLangId(), std::u16string(lcid.begin(), lcid.end()));
}

}  // namespace
}  // namespace hvx::test
