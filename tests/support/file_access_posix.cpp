#include <sys/stat.h>

#include <sstream>

#include "tests/support/file_access.h"

namespace hvx::test {

::testing::AssertionResult OnlyItsOwnerMayOpen(const std::filesystem::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) {
        return ::testing::AssertionFailure() << file << " cannot be looked at";
    }
    constexpr mode_t kPermissions = 0777;
    constexpr mode_t kOwnerReadWrite = 0600;
    if ((info.st_mode & kPermissions) == kOwnerReadWrite) {
        return ::testing::AssertionSuccess();
    }
    std::ostringstream mode;
    mode << std::oct << (info.st_mode & kPermissions);
    return ::testing::AssertionFailure() << file << " has mode 0" << mode.str();
}

}  // namespace hvx::test
