// The log file named by the environment, where an empty variable exists (Windows has none: an
// empty value removes the variable) and the default folder is the XDG data folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "siblings/venit/venit.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(LogFileFromEnvironment, ExplicitPathEmptyPathAndDefault) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const hvx::test::TempDir dir;
    const std::string explicitPath = (dir / "from-env.log").string();
    {
        const hvx::test::ScopedEnv file("VENIT_LOG_FILE", explicitPath);
        EXPECT_EXIT(std::exit(venit::GetLogFile() == explicitPath ? 0 : 1),
                    ::testing::ExitedWithCode(0), "");
    }
    {
        const hvx::test::ScopedEnv file("VENIT_LOG_FILE", std::string());
        EXPECT_EXIT(std::exit(venit::GetLogFile().empty() ? 0 : 1), ::testing::ExitedWithCode(0),
                    "");
    }
    const hvx::test::ScopedEnv file("VENIT_LOG_FILE", std::nullopt);
    const hvx::test::ScopedEnv data("XDG_DATA_HOME", dir.path().string());
    const std::string defaultPath = (dir / "caspo/log/caspo.log").string();
    EXPECT_EXIT(std::exit(venit::GetLogFile() == defaultPath ? 0 : 1), ::testing::ExitedWithCode(0),
                "");
}

}  // namespace
