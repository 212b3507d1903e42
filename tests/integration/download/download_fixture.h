// The download tests: the trusted backend, a folder for the targets, and a log capture (the
// library writes through the same utility library as the test).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/integration/download/trusted_backend.h"
#include "tests/support/log_capture.h"
#include "tests/support/temp_dir.h"

namespace hvx::test {

inline constexpr std::size_t kBlobSize = std::size_t{1} << 20U;

class DownloadTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const TrustedBackend& shared = TrustedBackend::Shared();
        if (shared.Problem().empty() && !std::filesystem::exists(shared.Served() / "blob.bin")) {
            WriteFile(shared.Served() / "blob.bin", ServedContent(kBlobSize));
        }
    }
    void SetUp() override { ASSERT_EQ(backend.Problem(), ""); }

    std::u16string Target(const std::string& name = "download.bin") const {
        return (folder / name).u16string();
    }
    std::optional<std::string> TargetContent(const std::string& name = "download.bin") const {
        return ReadWholeFile(folder / name);
    }

    const TrustedBackend& backend = TrustedBackend::Shared();
    TempDir folder;
    LogCapture log;
};

}  // namespace hvx::test
