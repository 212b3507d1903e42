// caspo-backend in-process on free ports of 127.0.0.1: HTTP and HTTPS, serving the folder
// Served() with a TLS folder of its own, both temporary.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/support/temp_dir.h"
#include "tools/backend/backend.h"

namespace hvx::test {

class BackendFixture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(StartBackend(), ""); }

    // Starts a backend on the fixture's folders; empty when it runs.
    std::string StartBackend() {
        std::filesystem::create_directories(Served());
        backend::BackendOptions options;
        options.filesDir = Served();
        options.tlsDir = TlsDir();
        m_backend = std::make_unique<backend::Backend>(options);
        return m_backend->Start();
    }

    std::filesystem::path Served() const { return m_top / "files"; }
    std::filesystem::path TlsDir() const { return m_top / "tls"; }
    std::filesystem::path Top() const { return m_top.path(); }
    backend::Backend& Running() { return *m_backend; }

    // Listener 0 is HTTP, 1 is HTTPS.
    std::string HttpUrl(const std::string& target) const {
        return m_backend->Listeners().at(0).url + target;
    }
    std::string HttpsUrl(const std::string& target) const {
        return m_backend->Listeners().at(1).url + target;
    }

private:
    TempDir m_top;
    std::unique_ptr<backend::Backend> m_backend;
};

}  // namespace hvx::test
