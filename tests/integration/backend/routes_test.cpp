// /echo and /status, and a stop in the middle of an answer (/slow).
#include <json/json.h>

#include <gtest/gtest.h>

#include <future>
#include <string>
#include <thread>

#include "tests/integration/backend/backend_fixture.h"
#include "tests/integration/backend/http_fetch.h"

namespace hvx::test {
namespace {

Json::Value ParseJson(const std::string& text) {
    Json::Value value;
    Json::CharReaderBuilder builder;
    std::string errors;
    std::istringstream in(text);
    EXPECT_TRUE(Json::parseFromStream(builder, in, &value, &errors)) << errors << text;
    return value;
}

std::vector<std::string> HeadersNamed(const Json::Value& echo, const std::string& name) {
    std::vector<std::string> values;
    for (const Json::Value& header : echo["headers"]) {
        if (header["name"].asString() == name) {
            values.push_back(header["value"].asString());
        }
    }
    return values;
}

using BackendRoutes = BackendFixture;

// Larger than the 8 KiB that cpp-httplib's plain handlers accept for a form body.
TEST_F(BackendRoutes, EchoDescribesTheRequestExactly) {
    const std::string body = "data=" + std::string(20000, 'b') + "&tid=1%262";
    const Fetched fetched = Fetch(HttpUrl("/echo/register?x=1&y=two%20words"),
                                  {.method = "POST",
                                   .body = body,
                                   .headers = {"Content-Type: application/x-www-form-urlencoded",
                                               "X-Second: 2", "X-First: 1", "X-First: again"}});
    ASSERT_EQ(fetched.status, 200);
    EXPECT_EQ(fetched.Header("Content-Type"), "application/json");
    const Json::Value echo = ParseJson(fetched.body);
    EXPECT_EQ(echo["method"].asString(), "POST");
    EXPECT_EQ(echo["path"].asString(), "/echo/register");
    EXPECT_EQ(echo["query"].asString(), "x=1&y=two%20words");
    EXPECT_EQ(echo["body"].asString(), body);
    EXPECT_EQ(echo["body_length"].asUInt64(), body.size());
    EXPECT_EQ(HeadersNamed(echo, "X-First"), (std::vector<std::string>{"1", "again"}));
    EXPECT_EQ(HeadersNamed(echo, "X-Second"), std::vector<std::string>{"2"});
    EXPECT_TRUE(HeadersNamed(echo, "REMOTE_ADDR").empty());
}

TEST_F(BackendRoutes, StatusAnswersWithTheChosenBody) {
    const struct {
        const char* target;
        int status;
        const char* body;
        const char* type;
    } cases[] = {
        {"/status/404?result=3238330373&detail=d", 404, R"({"detail":"d","result":3238330373})",
         "application/json"},
        {"/status/500?result=0xC1050005", 500, R"({"result":3238330373})", "application/json"},
        {"/status/500?result=-1", 500, R"({"result":-1})", "application/json"},
        {"/status/400?result=many", 400, R"({"result":"many"})", "application/json"},
        {"/status/503?body=not%20json", 503, "not json", "text/plain"},
        {"/status/204", 204, "", nullptr},
        {"/status/700", 400, "status must be from 200 to 599\n", "text/plain"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        const Fetched fetched = Fetch(HttpUrl(c.target), {.method = "POST", .body = "a=1"});
        EXPECT_EQ(fetched.status, c.status);
        EXPECT_EQ(fetched.body, c.body);
        EXPECT_EQ(fetched.Header("Content-Type"),
                  c.type ? std::optional<std::string>(c.type) : std::nullopt);
    }
}

TEST_F(BackendRoutes, StopEndsAnAnswerThatIsStillDribbling) {
    std::promise<void> firstByte;
    bool signalled = false;
    auto transfer = std::async(std::launch::async, [&] {
        return Fetch(HttpUrl("/slow?bytes=1000&interval_ms=50"),
                     {.onBody = [&](const std::string&) {
                         if (!signalled) {
                             signalled = true;
                             firstByte.set_value();
                         }
                         return true;
                     }});
    });
    firstByte.get_future().wait();
    Running().Stop();
    const Fetched fetched = transfer.get();
    EXPECT_NE(fetched.error, httplib::Error::Success);
    EXPECT_LT(fetched.body.size(), 1000U);
}

}  // namespace
}  // namespace hvx::test
