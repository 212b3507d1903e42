// A session test with a folder for downloads: what the file-request and facade tests need.
#pragma once

#include <filesystem>
#include <string>

#include "tests/support/session_fixture.h"
#include "tests/support/temp_dir.h"

namespace hvx::test {

inline constexpr const char16_t* kFileUrl = u"https://backend.example/files/policy.bin";

class FileTargetTest : public SessionTest {
protected:
    // A path in the test's folder, as the library takes it.
    std::u16string Target(const std::string& name = "download.bin") const {
        return (folder / name).u16string();
    }
    bool Exists(const std::string& name = "download.bin") const {
        return std::filesystem::exists(folder / name);
    }

    TempDir folder;
};

// The log text of a path: the library writes wide texts as UTF-8.
inline std::string Logged(const std::u16string& path) {
    return std::filesystem::path(path).string();
}

}  // namespace hvx::test
