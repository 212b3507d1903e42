// Helpers shared by the mirel tests: an owned engine instance, URLs as UTF-16, body reads.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "interfaces/ITransferEngine.h"
#include "siblings/mirel/mirel.h"
#include "tests/support/net/test_server.h"
#include "tests/support/wide.h"

namespace hvx::test {

inline constexpr std::uint32_t kReadCapacity = 8192;

struct EngineRelease {
    void operator()(ITransferEngine* engine) const { ReleaseNCPClassInstance(engine); }
};
using EnginePtr = std::unique_ptr<ITransferEngine, EngineRelease>;

// A fresh instance after Setup, as a session makes it.
inline EnginePtr NewEngine() {
    EnginePtr engine(CreateNCPClassInstance());
    if (engine) {
        EXPECT_EQ(engine->Setup(), 0);
    }
    return engine;
}

// A test server and a fresh instance for one test.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(engine); }

    TestServer server;
    const EnginePtr engine = NewEngine();
};

// Reads the buffered body in parts of kReadCapacity; records every count, the final 0 included.
inline std::string ReadWholeBody(ITransferEngine& engine, std::vector<std::uint32_t>* counts) {
    std::string body;
    std::vector<char> part(kReadCapacity);
    std::uint32_t count = 0;
    do {
        EXPECT_EQ(engine.ReadBody(part.data(), kReadCapacity, &count), 0);
        body.append(part.data(), count);
        if (counts != nullptr) {
            counts->push_back(count);
        }
    } while (count > 0);
    return body;
}

// A write or header callback that appends what it is given to the std::string `user`.
inline std::size_t AppendTo(char* data, std::size_t size, std::size_t count, void* user) {
    static_cast<std::string*>(user)->append(data, size * count);
    return size * count;
}

// Bytes that differ from position to position, so a misplaced part shows.
inline std::string PatternedBody(std::size_t size) {
    std::string body(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        body[i] = static_cast<char>('a' + (i * 7 + i / 251) % 26);
    }
    return body;
}

}  // namespace hvx::test
