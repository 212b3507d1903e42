// The environment is read once, at the log's first use, so each case runs in a fresh copy of
// this program (the "threadsafe" death-test style re-executes it) and touches venit only there.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "siblings/venit/venit.h"
#include "tests/support/temp_dir.h"

namespace {

struct EnvironmentCase {
    const char* name;
    const char* debugLevel;  // VENIT_DEBUG_LEVEL, null: unset
    std::uint64_t expectedLevel;
};

class DebugLevelFromEnvironment : public ::testing::TestWithParam<EnvironmentCase> {};

TEST_P(DebugLevelFromEnvironment, IsRead) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto& c = GetParam();
    const hvx::test::ScopedEnv level(
        "VENIT_DEBUG_LEVEL",
        c.debugLevel ? std::optional<std::string>(c.debugLevel) : std::nullopt);
    EXPECT_EXIT(std::exit(getDebugLevel() == c.expectedLevel ? 0 : 1), ::testing::ExitedWithCode(0),
                "");
}

INSTANTIATE_TEST_SUITE_P(Venit, DebugLevelFromEnvironment,
                         ::testing::Values(EnvironmentCase{"Unset", nullptr, 0},
                                           EnvironmentCase{"Decimal", "4096", 0x1000},
                                           EnvironmentCase{"Hexadecimal", "0x40001000", 0x40001000},
                                           EnvironmentCase{"EveryBit", "-1", ~std::uint64_t{0}},
                                           EnvironmentCase{"NotANumber", "loud", 0},
                                           EnvironmentCase{"TrailingJunk", "12abc", 0}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(StderrFromEnvironment, RecordsReachStderr) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const hvx::test::ScopedEnv toStderr("VENIT_LOG_STDERR", "1");
    const hvx::test::ScopedEnv file("VENIT_LOG_FILE", std::string());
    EXPECT_EXIT(
        {
            error("from the environment %d", 7);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), " ERROR from the environment 7\n");
}

}  // namespace
