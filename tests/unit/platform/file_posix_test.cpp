// The files of the POSIX platform layer: modes, descriptors, a full device, and the user data
// folder of the XDG conventions.
#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/file_target.h"
#include "tests/support/file_access.h"
#include "tests/unit/platform/fails_with.h"
#include "tests/unit/platform/file_fixture.h"

namespace hvx::os {
namespace {

namespace fs = std::filesystem;
using namespace test_files;

struct DataDirectoryCase {
    const char* name;
    std::optional<std::string> xdgDataHome;
    std::optional<std::string> home;
    std::u16string expected;
};

class PlatformUserDataDirectory : public ::testing::TestWithParam<DataDirectoryCase> {};

TEST_F(PlatformFiles, NewFilesHonourTheUmaskAndStayOutOfChildren) {
    const mode_t previous = ::umask(027);
    const Handle file(Open(dir / "mode.txt", GENERIC_WRITE, 0, CREATE_NEW));
    ::umask(previous);
    ASSERT_TRUE(Valid(file));
    struct stat info {};
    ASSERT_EQ(::stat((dir / "mode.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    const auto fd = static_cast<int>(reinterpret_cast<std::intptr_t>(file.get()));
    EXPECT_NE(::fcntl(fd, F_GETFD) & FD_CLOEXEC, 0);
}

TEST_F(PlatformFiles, PrivateFileIsTheUsersOnlyAndAnExistingFileIsLeftAlone) {
    const fs::path fresh = dir / "secret.db";
    ASSERT_TRUE(CreatePrivateFile(Wide(fresh).c_str()));
    EXPECT_TRUE(test::OnlyItsOwnerMayOpen(fresh));
    EXPECT_EQ(test::ReadWholeFile(fresh), "");

    const fs::path existing = dir / "kept.db";
    test::WriteFile(existing, "kept content");
    ASSERT_TRUE(CreatePrivateFile(Wide(existing).c_str()));
    EXPECT_EQ(test::ReadWholeFile(existing), "kept content");

    EXPECT_TRUE(FailsWith(ERROR_PATH_NOT_FOUND, [&] {
        return CreatePrivateFile(Wide(dir / "missing" / "secret.db").c_str());
    }));
}

// The other kinds of target are told apart through the downloads that meet them (session_test).
TEST_F(PlatformFiles, DeviceIsNoFileTarget) {
    EXPECT_EQ(CheckFileTarget(u"/dev/null"), static_cast<DWORD>(ERROR_BAD_FILE_TYPE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_FILE_TYPE));
}

TEST_F(PlatformFiles, WriteToAFullDeviceReportsDiskFull) {
    const Handle device(Open("/dev/full", GENERIC_WRITE, kShareAll, OPEN_EXISTING));
    ASSERT_TRUE(Valid(device));
    EXPECT_TRUE(FailsWith(ERROR_DISK_FULL, [&] { return Write(device.get(), "no room"); }));
}

TEST_P(PlatformUserDataDirectory, ComesFromTheEnvironment) {
    const test::ScopedEnv xdg("XDG_DATA_HOME", GetParam().xdgDataHome);
    const test::ScopedEnv home("HOME", GetParam().home);
    EXPECT_EQ(GetUserDataDirectory(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlatformUserDataDirectory,
    ::testing::Values(
        DataDirectoryCase{"XdgWins", "/srv/data/", "/home/ana", u"/srv/data"},
        DataDirectoryCase{"RelativeXdgIgnored", "rel/data", "/home/ana", u"/home/ana/.local/share"},
        DataDirectoryCase{"EmptyXdgIgnored", "", "/home/ana/", u"/home/ana/.local/share"},
        DataDirectoryCase{"NoXdg", std::nullopt, "/home/\xC3\xA9va",
                          u"/home/\u00E9va/.local/share"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

}  // namespace
}  // namespace hvx::os
