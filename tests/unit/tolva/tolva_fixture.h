// Shared by the tolva tests: a store in a fresh folder, a log capture, and helpers that read
// texts through the interface the way callers do (and hand them back).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "siblings/tolva/config.h"
#include "tests/support/log_capture.h"
#include "tests/support/temp_dir.h"

namespace tolva::test {

using WideRead = char16_t* (hvx::IConfig::*)(const char*);
std::optional<std::u16string> WideOf(hvx::IConfig& config, const char* key,
                                     WideRead read = &hvx::IConfig::GetString);
std::optional<std::string> NarrowOf(hvx::IConfig& config, const char* key);

// A self-signed certificate in PEM.
std::string MakeCertificatePem(const std::string& commonName);
// The common name of a certificate's subject.
std::string CommonName(X509* certificate);

class StoreTest : public ::testing::Test {
protected:
    // In a folder that does not exist yet: the first Save creates it.
    std::string StorePath() const { return (m_dir / "agent" / "config.db").string(); }
    // A new object on the store (or on the file at `path`), loaded.
    std::unique_ptr<CConfig> Open() const { return Open(StorePath()); }
    static std::unique_ptr<CConfig> Open(const std::string& path);

    hvx::test::TempDir m_dir;
    hvx::test::LogCapture m_log;
};

}  // namespace tolva::test
