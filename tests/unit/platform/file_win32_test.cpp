// The Windows side of the file targets: a device name is no file to write in full.
#include <gtest/gtest.h>

#include <string>

#include "platform/file_target.h"
#include "tests/unit/platform/file_fixture.h"

namespace hvx::os {
namespace {

using namespace test_files;

// The other kinds of target are told apart through the downloads that meet them (session_test).
TEST_F(PlatformFiles, DeviceIsNoFileTarget) {
    for (const char16_t* device : {u"NUL", u"\\\\.\\NUL"}) {
        SCOPED_TRACE(std::string(device, device + std::char_traits<char16_t>::length(device)));
        EXPECT_EQ(CheckFileTarget(device), static_cast<DWORD>(ERROR_BAD_FILE_TYPE));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_FILE_TYPE));
    }
}

}  // namespace
}  // namespace hvx::os
