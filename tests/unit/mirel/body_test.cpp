// The response body: buffered and read in parts after the transfer, or handed to the caller's
// write callback; the memory limits of a transfer. Bodies cut short by the server are cases of
// the hostile suite (tests/integration/hostile).
#include <curl/curl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

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

struct LimitCase {
    const char* name;
    ScriptedResponse answer;
    TransferLimits limits;
    bool callerWriter;
    int result;
    std::uint64_t received;
    std::size_t kept;  // the leading bytes of the body that ReadBody or the writer gives
};

TransferLimits With(std::uint64_t keep, BodyOverflow overflow, std::uint64_t count = UINT64_MAX) {
    TransferLimits limits = kDefaultTransferLimits;
    limits.keepBytes = keep;
    limits.overflow = overflow;
    limits.countBytes = count;
    limits.errorBodyBytes = 8192;
    return limits;
}

TEST_F(MirelBody, LimitsBoundWhatIsKeptAndCounted) {
    const auto body = std::make_shared<const std::string>(PatternedBody(100000));
    const ScriptedResponse announced{.sharedBody = body};
    const ScriptedResponse unannounced{
        .contentLength = false, .closeConnection = true, .sharedBody = body};
    const ScriptedResponse error{.status = 500, .sharedBody = body};
    const auto fail = BodyOverflow::kFail;
    const auto count = BodyOverflow::kCount;
    const std::vector<LimitCase> cases = {
        {"fits exactly", announced, With(100000, fail), false, CURLE_OK, 100000, 100000},
        {"announced too long", announced, With(99999, fail), false, CURLE_FILESIZE_EXCEEDED, 0, 0},
        {"found too long", unannounced, With(99999, fail), false, CURLE_FILESIZE_EXCEEDED, 83616,
         0},
        {"counted, not kept", unannounced, With(99999, count), false, CURLE_OK, 100000, 0},
        {"counted up to the count", announced, With(10, count, 50000), false, CURLE_OK, 50000, 0},
        {"error body cut", error, With(99999, fail), false, CURLE_OK, 8192, 8192},
        {"error body to the writer", error, With(0, fail), true, CURLE_OK, 8192, 8192},
        {"the writer takes all", announced, With(0, fail), true, CURLE_OK, 100000, 100000},
    };
    for (const LimitCase& c : cases) {
        SCOPED_TRACE(c.name);
        server.Enqueue(c.answer);
        const EnginePtr instance = NewEngine();
        ASSERT_EQ(instance->SetTransferLimits(&c.limits), CURLE_OK);
        std::string written;
        if (c.callerWriter) {
            ASSERT_EQ(
                instance->SetCallback(CURLOPT_WRITEFUNCTION, reinterpret_cast<void*>(&AppendTo)),
                CURLE_OK);
            ASSERT_EQ(instance->SetCallbackData(CURLOPT_WRITEDATA, &written), CURLE_OK);
        }
        EXPECT_EQ(instance->Get(Wide(server.Url("/limits")).c_str()), c.result);
        std::uint64_t received = 0;
        EXPECT_EQ(instance->GetReceivedBodyLength(&received), CURLE_OK);
        // libcurl hands the body over in blocks of 16 KiB, so a count passes its bound by less; a
        // body found too long has its bytes up to the limit counted.
        EXPECT_GE(received, c.received);
        EXPECT_LT(received, c.received + 16384);
        const std::string kept = c.callerWriter ? written : ReadWholeBody(*instance, nullptr);
        EXPECT_EQ(kept.size(), c.kept);
        EXPECT_TRUE(body->starts_with(kept));
        EXPECT_EQ(c.result == CURLE_OK, std::string(instance->GetErrorBufferText()).empty());
    }
}

TEST_F(MirelBody, LimitsOutOfRangeAreRefused) {
    const std::vector<std::function<void(TransferLimits&)>> outOfRange = {
        [](TransferLimits& l) { l.ceilingSeconds = 0; },
        [](TransferLimits& l) { l.stallSeconds = 0; },
        [](TransferLimits& l) { l.stallSeconds = kMaxStallSeconds + 1; },
        [](TransferLimits& l) { l.stallBytesPerSecond = 0; },
        [](TransferLimits& l) { l.overflow = BodyOverflow{2}; },
    };
    for (const auto& change : outOfRange) {
        TransferLimits limits = kDefaultTransferLimits;
        change(limits);
        EXPECT_EQ(engine->SetTransferLimits(&limits), CURLE_BAD_FUNCTION_ARGUMENT);
        EXPECT_STREQ(engine->GetErrorBufferText(), "transfer limits out of range");
    }
    EXPECT_EQ(engine->SetTransferLimits(nullptr), CURLE_OK);
}

}  // namespace
}  // namespace hvx::test
