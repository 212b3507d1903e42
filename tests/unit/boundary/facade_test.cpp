// The IHttp facade passes every operation to the session it owns, and refuses null arguments of
// a file request before it touches the session.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "boundary/external_http.h"
#include "tests/support/file_target_test.h"

namespace hvx::test {
namespace {

using FacadeTest = FileTargetTest;

TEST_F(FacadeTest, PassesEveryOperationToItsSession) {
    engines.script.body = "answer";
    CExternalHttp facade;
    IHttp& http = facade;

    ASSERT_EQ(http.Init(u"POST", kFileUrl, {}, &config), S_OK);
    EXPECT_EQ(http.AddHeader(u"X-Agent", u"1"), S_OK);
    EXPECT_EQ(http.AddFormField(u"a b", u"1&2"), S_OK);
    EXPECT_EQ(http.SetOption(curlopt::kTimeout, 7), S_OK);
    std::uint32_t status = 0;
    std::uint32_t size = 16;
    std::string buffer(size, 'x');
    EXPECT_EQ(http.MakeRequest(&status, &size, buffer.data()), S_OK);

    EXPECT_EQ(facade.Session().Method(), u"POST");
    EXPECT_EQ(facade.Session().Headers(), (std::vector<TextPair>{{u"X-Agent", u"1"}}));
    ASSERT_EQ(engines.last->transfers.size(), 1U);
    EXPECT_EQ(engines.last->transfers[0].body, "a%20b=1%262");
    EXPECT_EQ(*engines.last->Option(curlopt::kTimeout), 7);
    EXPECT_EQ(status, 200U);
    EXPECT_EQ(size, 6U);
    EXPECT_EQ(buffer.c_str(), std::string("answer"));
}

TEST_F(FacadeTest, NullArgumentsAreStatusInvalidParameterWithoutTouchingTheSession) {
    CExternalHttp facade;
    IHttp& http = facade;
    std::uint32_t status = 0;

    EXPECT_EQ(http.MakeFileRequest(nullptr, Target().c_str()), HVX_E_INVALID_PARAMETER);
    EXPECT_EQ(http.MakeFileRequest(&status, nullptr), HVX_E_INVALID_PARAMETER);
    EXPECT_FALSE(Exists());
    EXPECT_TRUE(log.Records().empty());
    EXPECT_EQ(http.Init(nullptr, kFileUrl, {}, &config), S_FALSE);
    EXPECT_EQ(engines.created, 0);
}

}  // namespace
}  // namespace hvx::test
