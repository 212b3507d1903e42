// The response body: buffered and read in parts after the transfer, or handed to the caller's
// write callback; transfers that end early.
#include <curl/curl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "platform/environment.h"
#include "tests/support/net/test_server.h"
#include "tests/unit/mirel/engine_helpers.h"

namespace hvx::test {
namespace {

using MirelBody = EngineTest;

TEST_F(MirelBody, BufferedBodyIsReadInPartsAfterTheTransfer) {
    const std::vector<std::size_t> sizes = {1, 8192, 20000, (std::size_t{3} << 20) + 5};
    for (const std::size_t size : sizes) {
        SCOPED_TRACE(size);
        const std::string body = PatternedBody(size);
        server.Enqueue({.body = body});
        ASSERT_EQ(engine->Get(Wide(server.Url("/body")).c_str()), CURLE_OK);

        std::vector<std::uint32_t> counts;
        EXPECT_EQ(ReadWholeBody(*engine, &counts), body);
        ASSERT_EQ(counts.size(), (size + kReadCapacity - 1) / kReadCapacity + 1);
        for (std::size_t i = 0; i + 2 < counts.size(); ++i) {
            EXPECT_EQ(counts[i], kReadCapacity);
        }
        EXPECT_EQ(counts.back(), 0U);
        std::uint32_t again = 1;
        char byte = 0;
        EXPECT_EQ(engine->ReadBody(&byte, 1, &again), CURLE_OK);
        EXPECT_EQ(again, 0U);
    }
}

std::size_t Refuse(char* /*data*/, std::size_t /*size*/, std::size_t /*count*/, void* /*user*/) {
    return 0;
}

TEST_F(MirelBody, CallerWriteCallbackReplacesTheBufferUntilCleared) {
    server.SetDefaultResponse({.body = "the body"});
    const std::u16string url = Wide(server.Url("/file"));
    std::string received;
    ASSERT_EQ(engine->SetCallback(CURLOPT_WRITEFUNCTION, reinterpret_cast<void*>(&AppendTo)),
              CURLE_OK);
    ASSERT_EQ(engine->SetCallbackData(CURLOPT_WRITEDATA, &received), CURLE_OK);

    ASSERT_EQ(engine->Get(url.c_str()), CURLE_OK);
    EXPECT_EQ(received, "the body");
    EXPECT_EQ(ReadWholeBody(*engine, nullptr), "");

    ASSERT_EQ(engine->SetCallback(CURLOPT_WRITEFUNCTION, reinterpret_cast<void*>(&Refuse)),
              CURLE_OK);
    EXPECT_EQ(engine->Get(url.c_str()), CURLE_WRITE_ERROR);

    ASSERT_EQ(engine->SetCallback(CURLOPT_WRITEFUNCTION, nullptr), CURLE_OK);
    ASSERT_EQ(engine->Get(url.c_str()), CURLE_OK);
    EXPECT_EQ(ReadWholeBody(*engine, nullptr), "the body");
    EXPECT_EQ(received, "the body");
}

TEST_F(MirelBody, BodyCutShortFailsTheTransfer) {
    server.Enqueue({.body = PatternedBody(100000), .closeAfterBodyBytes = 1000});
    EXPECT_EQ(engine->Get(Wide(server.Url("/cut")).c_str()), CURLE_PARTIAL_FILE);
    EXPECT_STRNE(engine->GetErrorBufferText(), "");
    EXPECT_STREQ(engine->GetLastErrorText(), curl_easy_strerror(CURLE_PARTIAL_FILE));
}

// Undoes a stall setting of the process, whichever way it was made.
class MirelStall : public ::testing::Test {
protected:
    void TearDown() override { ResetStall(); }

    static void ResetStall() {
        hvx::os::SetEnvironmentValue(kMirelStallVariable, nullptr);
        EXPECT_EQ(MirelSetStallTimeout(0), CURLE_OK);
    }
};

TEST_F(MirelStall, SilentServerIsAbandoned) {
    struct StallCase {
        const char* name;
        std::function<void()> shorten;
    };
    const std::vector<StallCase> cases = {
        {"by the setter", [] { ASSERT_EQ(MirelSetStallTimeout(1), CURLE_OK); }},
        {"by the environment", [] { hvx::os::SetEnvironmentValue(kMirelStallVariable, "1"); }},
    };
    for (const StallCase& c : cases) {
        SCOPED_TRACE(c.name);
        ResetStall();
        c.shorten();
        TestServer server;
        server.Enqueue({.neverAnswer = true});
        const EnginePtr engine = NewEngine();
        ASSERT_TRUE(engine);
        EXPECT_EQ(engine->Get(Wide(server.Url("/silent")).c_str()), CURLE_OPERATION_TIMEDOUT);
        EXPECT_EQ(server.Requests().size(), 1U);
    }
    EXPECT_EQ(MirelSetStallTimeout(-1), CURLE_BAD_FUNCTION_ARGUMENT);
}

}  // namespace
}  // namespace hvx::test
