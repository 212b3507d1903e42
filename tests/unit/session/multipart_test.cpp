// Multipart bodies byte for byte, the boundary, and how the body builder fails.
#include <cstdlib>

#include "tests/support/session_fixture.h"

namespace hvx::test {
namespace {

using namespace std::string_literals;

MultipartSection Section(std::vector<TextPair> headers, std::vector<TextPair> parameters,
                         std::string_view data) {
    return {std::move(headers), std::move(parameters), {data.begin(), data.end()}};
}

MultipartSection Version() {
    return Section({{u"Content-Disposition", u"form-data"}}, {{u"name", u"version"}}, "1.0");
}
MultipartSection File() {
    return Section(
        {{u"Content-Disposition", u"form-data"}, {u"Content-Type", u"application/octet-stream"}},
        {{u"name", u"file"}, {u"filename", u"caf\u00e9 \"q\".bin"}},
        std::string_view("a\0\r\nb", 5));
}
MultipartSection Bare() {
    return Section({}, {{u"name", u"dropped"}}, "x");
}
MultipartSection Empty() {
    return Section({{u"Content-Disposition", u"form-data"}}, {}, "");
}

std::string Built(CHttpCurl& session) {
    char* buffer = nullptr;
    std::uint32_t length = 0;
    EXPECT_EQ(session.BuildMultipartBody(&buffer, &length), S_OK);
    std::string body(buffer, length);
    std::free(buffer);  // NOLINT(cppcoreguidelines-no-malloc)
    return body;
}

using MultipartBody = SessionTest;

struct LayoutCase {
    const char* name;
    std::vector<MultipartSection> sections;
    // The body, with B standing for the boundary.
    std::string layout;
};

TEST_F(MultipartBody, Layouts) {
    const LayoutCase cases[] = {
        {"one section",
         {Version()},
         "--B\r\nContent-Disposition: form-data; name=\"version\"\r\n\r\n1.0\r\n--B--\r\n"},
        {"parameters on the first header line only, unescaped",
         {File()},
         "--B\r\nContent-Disposition: form-data; name=\"file\"; filename=\"caf\xC3\xA9 "
         "\"q\".bin\"\r\n"
         "Content-Type: application/octet-stream\r\n\r\na\0\r\nb\r\n--B--\r\n"s},
        {"no headers, so no parameters", {Bare()}, "--B\r\n\r\nx\r\n--B--\r\n"},
        {"empty data", {Empty()}, "--B\r\nContent-Disposition: form-data\r\n\r\n\r\n--B--\r\n"},
        {"two sections",
         {Version(), Bare()},
         "--B\r\nContent-Disposition: form-data; name=\"version\"\r\n\r\n1.0\r\n"
         "--B\r\n\r\nx\r\n--B--\r\n"},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        CHttpCurl session;
        Init(session);
        for (const MultipartSection& section : c.sections) {
            session.AddSection(section);
        }
        const std::string body = Built(session);
        std::string expected = c.layout;
        for (std::size_t at = expected.find("--B"); at != std::string::npos;
             at = expected.find("--B", at)) {
            expected.replace(at + 2, 1, session.Boundary());
            at += 2 + session.Boundary().size();
        }
        EXPECT_EQ(body, expected);
        // 27 hyphens and four 15-bit draws as upper-case hexadecimal.
        const std::string& boundary = session.Boundary();
        ASSERT_EQ(boundary.size(), 43U);
        EXPECT_EQ(boundary.find_first_not_of('-'), 27U);
        EXPECT_EQ(boundary.find_first_not_of("0123456789ABCDEF", 27), std::string::npos);
        for (std::size_t group = 27; group < 43; group += 4) {
            EXPECT_LE(boundary[group], '7') << boundary;
        }
    }
}

TEST_F(MultipartBody, TwoPostsRepeatTheSectionsUnderOneBoundary) {
    CHttpCurl session;
    Init(session);
    session.AddHeader(u"Content-Type", u"multipart/form-data");
    ASSERT_EQ(session.AddFormField(u"ignored", u"1"), S_OK);
    session.AddSection(Version());
    std::uint32_t status = 0;
    std::string answer;
    ASSERT_EQ(session.MakeRequestToString(status, answer), S_OK);
    const std::string first = SentBody();
    session.AddSection(Bare());
    ASSERT_EQ(session.MakeRequestToString(status, answer), S_OK);
    const std::string second = SentBody();

    const std::string& b = session.Boundary();
    EXPECT_EQ(first, "--" + b +
                         "\r\nContent-Disposition: form-data; name=\"version\"\r\n\r\n1.0\r\n--" +
                         b + "--\r\n");
    EXPECT_EQ(second, first.substr(0, first.size() - b.size() - 6) + "--" + b + "\r\n\r\nx\r\n--" +
                          b + "--\r\n");
    const std::u16string header = u"Content-Type: multipart/form-data; boundary=" + Wide(b);
    EXPECT_EQ(Engine().appendedHeaders, (std::vector<std::u16string>{header, header}));
}

// A file section of `size` bytes whose content keeps room before it for all that the session's
// body has ahead of it, less `shortBy` bytes, as the upload client leaves it.
MultipartSection Roomy(const CHttpCurl& session, std::size_t size, std::size_t shortBy = 0) {
    MultipartSection section = File();
    std::string content(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        content[i] = static_cast<char>('a' + i % 26);
    }
    EXPECT_TRUE(section.data.Reserve(session.MultipartContentOffset(section) - shortBy, 0));
    section.data.assign(content.begin(), content.end());
    return section;
}

TEST_F(MultipartBody, ABodyLaidInASectionsRoomIsTheBuiltBody) {
    using Adder = void (*)(CHttpCurl&);
    const std::pair<const char*, Adder> rows[] = {
        {"room enough, a section after it",
         [](CHttpCurl& s) {
             s.AddSection(Version());
             s.AddSection(Roomy(s, 70000));
             s.AddSection(Bare());
         }},
        {"room one byte short: built on its own",
         [](CHttpCurl& s) {
             s.AddSection(Version());
             s.AddSection(Roomy(s, 70000, 1));
         }},
        {"the larger of two with room",
         [](CHttpCurl& s) {
             s.AddSection(Roomy(s, 3));
             s.AddSection(Version());
             s.AddSection(Roomy(s, 70000));
         }},
    };
    for (const auto& [name, add] : rows) {
        SCOPED_TRACE(name);
        CHttpCurl session;
        Init(session);
        add(session);
        // The second POST carries a section after the first's, larger than any room left.
        for (int post = 0; post < 2; ++post) {
            std::uint32_t status = 0;
            std::string answer;
            ASSERT_EQ(session.MakeRequestToString(status, answer), S_OK);
            EXPECT_EQ(SentBody(), Built(session));
            session.AddSection(Section({}, {}, std::string(20000, 'z')));
        }
    }
}

TEST_F(MultipartBody, BuilderRefusals) {
    char sentinel = 0;
    char* buffer = &sentinel;
    std::uint32_t length = 7;
    CHttpCurl bare;
    bare.AddSection(Version());
    EXPECT_EQ(bare.BuildMultipartBody(&buffer, &length), HVX_E_INVALID_ARGUMENT);

    CHttpCurl session;
    Init(session);
    EXPECT_EQ(session.BuildMultipartBody(&buffer, &length), S_OK);
    session.AddSection(Version());
    EXPECT_EQ(session.BuildMultipartBody(nullptr, &length), HVX_E_INVALID_ARGUMENT);
    EXPECT_EQ(session.BuildMultipartBody(&buffer, nullptr), HVX_E_INVALID_ARGUMENT);
    // Refused or without sections, the outputs stay as they were and no boundary is drawn.
    EXPECT_EQ(buffer, &sentinel);
    EXPECT_EQ(length, 7U);
    EXPECT_EQ(session.Boundary(), "");
}

}  // namespace
}  // namespace hvx::test
