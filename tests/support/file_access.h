// Whether a file can be opened by its owner alone: POSIX mode 0600; on Windows an access list
// whose entries all allow, and grant the current user or the file's owner (OWNER RIGHTS included)
// and at most LocalSystem besides (Wine shows a file's mode as such a list, SYSTEM always in it).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>

namespace hvx::test {

// On failure, the message says what the file allows instead (its mode, or its owner and access
// list in the security descriptor language).
::testing::AssertionResult OnlyItsOwnerMayOpen(const std::filesystem::path& file);

}  // namespace hvx::test
