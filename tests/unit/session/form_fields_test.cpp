// Form fields and request headers as the engine receives them.
#include <cstdint>
#include <functional>

#include "support/trace_levels.h"
#include "tests/support/session_fixture.h"

namespace hvx::test {
namespace {

using RequestBody = SessionTest;

struct FormCase {
    const char* name;
    std::function<void(CHttpCurl&)> add;
    std::string body;
};

TEST_F(RequestBody, FormFieldsArePercentEncodedAndJoined) {
    const FormCase cases[] = {
        {"encoded name and value",
         [](CHttpCurl& s) { EXPECT_EQ(s.AddFormField(u"a b", u"1&2"), S_OK); }, "a%20b=1%262"},
        {"empty name keeps its value raw",
         [](CHttpCurl& s) {
             EXPECT_EQ(s.AddFormField(u"", u"k=v"), S_OK);
             EXPECT_EQ(s.AddFormField(u"t", u"2"), S_OK);
         },
         "k=v&t=2"},
        {"numbers in decimal",
         [](CHttpCurl& s) {
             EXPECT_EQ(s.AddFormField(u"n", std::uint32_t{4294967295U}), S_OK);
             EXPECT_EQ(s.AddFormField(u"m", std::uint64_t{18446744073709551615ULL}), S_OK);
             EXPECT_EQ(s.AddFormField(u"z", std::uint32_t{7}), S_OK);
         },
         "n=4294967295&m=18446744073709551615&z=7"},
        {"no fields", [](CHttpCurl&) {}, ""},
    };
    for (const FormCase& c : cases) {
        SCOPED_TRACE(c.name);
        CHttpCurl session;
        Init(session);
        c.add(session);
        std::string body;
        std::uint32_t status = 0;
        EXPECT_EQ(session.MakeRequestToString(status, body), S_OK);
        EXPECT_EQ(SentBody(), c.body);
        // Without sections the body step draws no boundary.
        EXPECT_EQ(session.Boundary(), "");
    }
}

struct TidCase {
    std::vector<std::pair<std::u16string, std::u16string>> fields;
    bool traced;
};

TEST_F(RequestBody, PostContentOfTheUnloggedTidIsNotTraced) {
    const TidCase cases[] = {
        {{{u"tid", u"1090519104"}, {u"a", u"1"}}, false},
        {{{u"tid", u"1090519105"}, {u"a", u"1"}}, true},
        {{{u"a", u"1"}}, true},
        // Only the first "tid" counts.
        {{{u"tid", u"5"}, {u"tid", u"1090519104"}}, true},
        {{{u"TID", u"1090519104"}}, true},
    };
    for (const TidCase& c : cases) {
        CHttpCurl session;
        Init(session);
        for (const auto& [name, value] : c.fields) {
            ASSERT_EQ(session.AddFormField(name, value), S_OK);
        }
        std::string body;
        std::uint32_t status = 0;
        static_cast<void>(session.MakeRequestToString(status, body));
        SCOPED_TRACE(SentBody());
        EXPECT_EQ(log.HasTrace("hvx::CHttpCurl::SendRequest post content: " + SentBody()),
                  c.traced);
        EXPECT_EQ(Engine().transfers.size(), 1U);
    }
}

TEST_F(RequestBody, HeadersGoOutInOrderWithTheBoundaryOnlyOnTheExactValue) {
    CHttpCurl session;
    Init(session, u"GET");
    session.AddHeader(u"X-First", u"1");
    session.AddHeader(u"Content-Type", u"multipart/form-data");
    session.AddHeader(u"X-Case", u"Multipart/Form-Data");
    session.AddHeader(u"X-Charset", u"multipart/form-data; charset=utf-8");
    session.AddHeader(u"X-Any-Name", u"multipart/form-data");
    std::string body;
    std::uint32_t status = 0;
    static_cast<void>(session.MakeRequestToString(status, body));
    static_cast<void>(session.MakeRequestToString(status, body));

    ASSERT_EQ(session.Boundary().size(), 43U);
    const std::u16string withBoundary =
        u"multipart/form-data; boundary=" + Wide(session.Boundary());
    const std::vector<std::u16string> lines = {
        u"X-First: 1",
        u"Content-Type: " + withBoundary,
        u"X-Case: Multipart/Form-Data",
        u"X-Charset: multipart/form-data; charset=utf-8",
        u"X-Any-Name: " + withBoundary,
    };
    // Handed over again, with the same boundary, on every request of the session.
    std::vector<std::u16string> twice = lines;
    twice.insert(twice.end(), lines.begin(), lines.end());
    EXPECT_EQ(Engine().appendedHeaders, twice);
    EXPECT_EQ(Engine().transfers.size(), 2U);
    EXPECT_EQ(Engine().transfers[0].method, "GET");
    EXPECT_EQ(Engine().transfers[0].url, kUrl);
}

}  // namespace
}  // namespace hvx::test
