// Files under /files/: Last-Modified, If-Modified-Since, and the folder's boundary.
#include <sys/time.h>

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <string>

#include "tests/integration/backend/backend_fixture.h"
#include "tests/integration/backend/http_fetch.h"

namespace hvx::test {
namespace {

constexpr std::time_t kModified = 1614834367;
constexpr const char* kModifiedText = "Thu, 04 Mar 2021 05:06:07 GMT";

void SetModified(const std::filesystem::path& file, std::time_t when) {
    const std::array<timeval, 2> times = {timeval{when, 0}, timeval{when, 0}};
    ASSERT_EQ(utimes(file.c_str(), times.data()), 0);
}

class BackendFiles : public BackendFixture {
protected:
    void Put(const std::string& name, const std::string& content, std::time_t modified) {
        WriteFile(Served() / name, content);
        SetModified(Served() / name, modified);
    }
    Fetched GetSince(const std::string& name, const std::string& since) {
        return Fetch(HttpUrl("/files/" + name), {.headers = {"If-Modified-Since: " + since}});
    }
};

// Every answer carries the file's date; If-Modified-Since (none in the first row) decides the rest.
TEST_F(BackendFiles, IfModifiedSinceIsAnsweredByTheFileDate) {
    Put("seed.xml", "<seed/>", kModified);
    const struct {
        const char* since;
        int status;
        const char* body;
    } cases[] = {
        {nullptr, 200, "<seed/>"},
        {kModifiedText, 304, ""},
        {"Thu, 04 Mar 2021 05:06:08 GMT", 304, ""},
        {"Thursday, 04-Mar-21 05:06:07 GMT", 304, ""},
        {"Thu Mar  4 05:06:07 2021", 304, ""},
        {"Thu, 04 Mar 2021 05:06:06 GMT", 200, "<seed/>"},
        {"yesterday", 200, "<seed/>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.since ? c.since : "no If-Modified-Since");
        const Fetched fetched =
            c.since ? GetSince("seed.xml", c.since) : Fetch(HttpUrl("/files/seed.xml"));
        EXPECT_EQ(fetched.status, c.status);
        EXPECT_EQ(fetched.body, c.body);
        EXPECT_EQ(fetched.Header("Last-Modified"), kModifiedText);
    }
}

TEST_F(BackendFiles, NothingOutsideTheFolderIsServed) {
    WriteFile(Top() / "secret.txt", "secret");
    std::filesystem::create_directories(Served() / "sub");
    std::filesystem::create_directory_symlink(Top(), Served() / "link");
    const struct {
        const char* target;
        int status;
    } cases[] = {
        {"/files/../secret.txt", 403},
        {"/files/%2e%2e/secret.txt", 403},
        {"/files/sub/..%2f..%2fsecret.txt", 403},
        {"/files/link/secret.txt", 403},
        {"/files/%2fsecret.txt", 404},
        {"/files/missing.bin", 404},
        {"/files/sub", 404},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        const Fetched fetched = Fetch(HttpUrl(c.target));
        EXPECT_EQ(fetched.status, c.status);
        EXPECT_EQ(fetched.body.find("secret"), std::string::npos);
    }
}

}  // namespace
}  // namespace hvx::test
