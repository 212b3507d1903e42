// What the file-request and facade tests need: the scripted engine registered as "mirel.dll", an
// in-memory store trusting the test CA, a log capture and a folder for the downloads.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/config_keys.h"
#include "tests/support/fake_config.h"
#include "tests/support/fake_engine.h"
#include "tests/support/log_capture.h"
#include "tests/support/net/test_certs.h"
#include "tests/support/temp_dir.h"

namespace hvx::test {

inline constexpr const char16_t* kFileUrl = u"https://backend.example/files/policy.bin";

class BoundaryTest : public ::testing::Test {
protected:
    BoundaryTest() {
        config.PutNarrow(keys::kEstCaCert, TestCertificates::Shared().Ca().certificatePem);
    }

    // A path in the test's folder, as the library takes it.
    std::u16string Target(const std::string& name = "download.bin") const {
        return (folder / name).u16string();
    }
    bool Exists(const std::string& name = "download.bin") const {
        return std::filesystem::exists(folder / name);
    }

    FakeEngineModule engines;
    FakeConfig config;
    LogCapture log;
    TempDir folder;
};

// The log text of a path: the library writes wide texts as UTF-8.
inline std::string Logged(const std::u16string& path) {
    return std::filesystem::path(path).string();
}

}  // namespace hvx::test
