// Whether a file can be opened by its owner alone: POSIX mode 0600, or on Windows a protected
// access list whose one entry grants the owner (OWNER RIGHTS or the owner's own SID).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>

namespace hvx::test {

// On failure, the message says what the file allows instead (its mode, or its access list in
// the security descriptor language).
::testing::AssertionResult OnlyItsOwnerMayOpen(const std::filesystem::path& file);

}  // namespace hvx::test
