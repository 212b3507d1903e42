// Helpers of the file tests: paths as UTF-16, handles closed when a test leaves, and a fixture
// with a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/file.h"
#include "platform/last_error.h"
#include "tests/support/temp_dir.h"

namespace hvx::os::test_files {

namespace fs = std::filesystem;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE;

inline std::u16string Wide(const fs::path& path) {
    return path.u16string();
}

// Closes the handle when the test leaves, whatever happens.
struct HandleCloser {
    void operator()(HANDLE handle) const {
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
};
using Handle = std::unique_ptr<void, HandleCloser>;

inline bool Valid(const Handle& handle) {
    return handle.get() != INVALID_HANDLE_VALUE;
}

inline HANDLE Open(const fs::path& path, DWORD access, DWORD share, DWORD disposition) {
    SetLastError(ERROR_MORE_DATA);  // a value no call below sets, to see it overwritten
    return CreateFileW(Wide(path).c_str(), access, share, disposition, FILE_ATTRIBUTE_NORMAL);
}

inline bool Write(HANDLE file, const std::string& text) {
    DWORD written = 0;
    const BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written);
    return ok == TRUE && written == text.size();
}

class PlatformFiles : public ::testing::Test {
protected:
    hvx::test::TempDir dir;
};

}  // namespace hvx::os::test_files
