// A download whose file is renamed away while the session holds it open, so that deleting it
// after a 304 fails: only POSIX lets an open, unshared file be renamed.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "session/http_curl.h"
#include "tests/unit/boundary/boundary_fixture.h"

namespace hvx::test {
namespace {

class OpenFileRenamedTest : public BoundaryTest {
protected:
    void Init(CHttpCurl& session, ShutdownCallback shutdown = {}) {
        ASSERT_EQ(session.Init(u"GET", kFileUrl, std::move(shutdown), &config, 0), S_OK);
        log.Clear();
    }
};

TEST_F(OpenFileRenamedTest, FileThatCannotBeDeletedIsLogged) {
    engines.script.responseCode = 304;
    const std::filesystem::path moved = folder / "moved.bin";
    CHttpCurl session;
    Init(session, [this, &moved] {
        std::filesystem::rename(folder / "download.bin", moved);
        return false;
    });
    std::uint32_t status = 0;

    EXPECT_EQ(session.MakeFileRequest(status, Target()), S_OK);
    EXPECT_TRUE(std::filesystem::exists(moved));
    EXPECT_EQ(log.Errors(),
              std::vector<std::string>{"hvx::CHttpCurl::MakeFileRequest unable to delete file: " +
                                       Logged(Target()) + ". download failed: 0x0"});
}

}  // namespace
}  // namespace hvx::test
