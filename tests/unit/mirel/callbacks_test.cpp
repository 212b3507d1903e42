// The caller's header callback reaches libcurl unchanged (a progress callback that aborts is
// shown end to end by DownloadTest.ShutdownMidDownloadAbortsAndLeavesNothing), and transfers on
// different threads never wait for each other.
#include <curl/curl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <thread>

#include "tests/support/net/test_server.h"
#include "tests/unit/mirel/engine_helpers.h"

namespace hvx::test {
namespace {

TEST(MirelCallbacks, HeaderCallbackSeesTheAnswer) {
    TestServer server;
    server.SetDefaultResponse(
        {.headers = {{"Last-Modified", "Tue, 01 Jul 2025 10:00:00 GMT"}}, .body = "ok"});
    const EnginePtr engine = NewEngine();
    ASSERT_TRUE(engine);
    const std::u16string url = Wide(server.Url("/"));
    std::string headers;
    HeaderCallback header = &AppendTo;
    ASSERT_EQ(engine->SetCallback(CURLOPT_HEADERFUNCTION, reinterpret_cast<void*>(header)),
              CURLE_OK);
    ASSERT_EQ(engine->SetCallbackData(CURLOPT_HEADERDATA, &headers), CURLE_OK);
    ASSERT_EQ(engine->Get(url.c_str()), CURLE_OK);
    EXPECT_TRUE(headers.starts_with("HTTP/1.1 200 OK\r\n"));
    EXPECT_NE(headers.find("\r\nLast-Modified: Tue, 01 Jul 2025 10:00:00 GMT\r\n"),
              std::string::npos);
}

TEST(MirelCallbacks, SilentTransferOnOneThreadDoesNotHoldUpAnother) {
    auto silent = std::make_optional<TestServer>();
    silent->Enqueue({.neverAnswer = true});
    std::atomic<bool> silentDone{false};
    int silentResult = CURLE_OK;
    std::thread waiting([&] {
        const EnginePtr engine = NewEngine();
        silentResult = engine ? engine->Get(Wide(silent->Url("/silent")).c_str()) : -1;
        silentDone = true;
    });
    ASSERT_TRUE(silent->WaitForRequests(1, std::chrono::seconds(30)));

    TestServer answering;
    const EnginePtr engine = NewEngine();
    ASSERT_TRUE(engine);
    EXPECT_EQ(engine->Get(Wide(answering.Url("/now")).c_str()), CURLE_OK);
    EXPECT_FALSE(silentDone);

    silent.reset();  // closes the silent connection, which ends the waiting transfer
    waiting.join();
    EXPECT_EQ(silentResult, CURLE_GOT_NOTHING);
}

}  // namespace
}  // namespace hvx::test
