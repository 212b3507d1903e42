// The store file's POSIX mode. On Windows the file takes the access list of its folder in the
// user's profile, which std::filesystem does not show.
#include <sys/stat.h>

#include "tests/support/file_access.h"
#include "tests/unit/tolva/tolva_fixture.h"

namespace tolva::test {
namespace {

using ConfigLayersTest = StoreTest;

// Saved with no umask, so that a file created with the default mode shows as 0644 or 0666.
TEST_F(ConfigLayersTest, NewStoreFileIsReadableByItsUserOnly) {
    auto writer = Open();
    ASSERT_EQ(writer->AddString("config/ostra/install/token", u"secret", 1), 1);
    const mode_t previousMask = ::umask(0);
    const int saved = writer->Save(0);
    ::umask(previousMask);
    ASSERT_EQ(saved, 1);
    EXPECT_TRUE(hvx::test::OnlyItsOwnerMayOpen(StorePath()));
}

}  // namespace
}  // namespace tolva::test
