// The store file's POSIX mode. On Windows the file takes the access list of its folder in the
// user's profile, which std::filesystem does not show.
#include <filesystem>

#include "tests/unit/tolva/tolva_fixture.h"

namespace tolva::test {
namespace {

using ConfigLayersTest = StoreTest;

TEST_F(ConfigLayersTest, NewStoreFileIsReadableByItsUserOnly) {
    auto writer = Open();
    ASSERT_EQ(writer->AddString("config/ostra/install/token", u"secret", 1), 1);
    ASSERT_EQ(writer->Save(0), 1);
    const auto permissions = std::filesystem::status(StorePath()).permissions();
    EXPECT_EQ(permissions & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

}  // namespace
}  // namespace tolva::test
