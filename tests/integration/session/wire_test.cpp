// What the server receives: the bytes of a form POST and of a multipart POST.
#include <algorithm>

#include "tests/integration/session/request_server_fixture.h"

namespace hvx::test {
namespace {

using RequestWire = RequestServerTest;

// Where the header line is among the request's lines; -1 when absent.
std::ptrdiff_t LineIndex(const RecordedRequest& request, const std::string& line) {
    const auto it = std::find(request.headerLines.begin(), request.headerLines.end(), line);
    return it == request.headerLines.end() ? -1 : it - request.headerLines.begin();
}

TEST_F(RequestWire, AFormPost) {
    server.Enqueue({.status = 200, .body = "ok"});
    CHttpCurl session;
    Init(session, u"POST", "/form?q=1");
    session.AddHeader(u"X-First", u"1");
    session.AddHeader(u"X-Second", u"2");
    ASSERT_EQ(session.AddFormField(u"a b", u"1&2"), S_OK);
    ASSERT_EQ(session.AddFormField(u"", u"k=v"), S_OK);
    ASSERT_EQ(session.AddFormField(u"n", std::uint32_t{42}), S_OK);
    std::uint32_t status = 0;
    std::string body;
    ASSERT_EQ(session.MakeRequestToString(status, body), S_OK);

    const std::vector<RecordedRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 1U);
    const RecordedRequest& request = requests[0];
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.target, "/form?q=1");
    EXPECT_EQ(request.body, "a%20b=1%262&k=v&n=42");
    const std::ptrdiff_t first = LineIndex(request, "X-First: 1");
    EXPECT_GE(first, 0);
    EXPECT_EQ(LineIndex(request, "X-Second: 2"), first + 1);
    EXPECT_EQ(log.Traces(), (std::vector<std::string>{
                                "hvx::CHttpCurl::SendRequest post content: a%20b=1%262&k=v&n=42",
                                "CHttpCurl::SendRequest remote request(POST): " +
                                    LoggedUrl("/form?q=1") + ", status: 0x0. msg:  / No error"}));
}

TEST_F(RequestWire, AMultipartPost) {
    server.Enqueue({.status = 200, .body = "ok"});
    CHttpCurl session;
    Init(session, u"POST", "/upload");
    session.AddHeader(u"Content-Type", u"multipart/form-data");
    MultipartSection text;
    ASSERT_EQ(CHttpCurl::AddSectionHeader(text, u"Content-Disposition", u"form-data"), S_OK);
    ASSERT_EQ(CHttpCurl::AddSectionParameter(text, u"name", u"version"), S_OK);
    text.data = {'1', '.', '0'};
    MultipartSection file;
    ASSERT_EQ(CHttpCurl::AddSectionHeader(file, u"Content-Disposition", u"form-data"), S_OK);
    ASSERT_EQ(CHttpCurl::AddSectionParameter(file, u"name", u"file"), S_OK);
    ASSERT_EQ(CHttpCurl::AddSectionParameter(file, u"filename", u"a.bin"), S_OK);
    ASSERT_EQ(CHttpCurl::AddSectionHeader(file, u"Content-Type", u"application/octet-stream"),
              S_OK);
    file.data.assign(70000, '\0');
    file.data[1] = '\r';
    session.AddSection(text);
    session.AddSection(file);
    std::uint32_t status = 0;
    std::string body;
    ASSERT_EQ(session.MakeRequestToString(status, body), S_OK);

    const std::string& b = session.Boundary();
    const std::string expected =
        "--" + b + "\r\nContent-Disposition: form-data; name=\"version\"\r\n\r\n1.0\r\n--" + b +
        "\r\nContent-Disposition: form-data; name=\"file\"; filename=\"a.bin\"\r\n"
        "Content-Type: application/octet-stream\r\n\r\n" +
        std::string(file.data.begin(), file.data.end()) + "\r\n--" + b + "--\r\n";
    const std::vector<RecordedRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 1U);
    EXPECT_TRUE(requests[0].body == expected) << requests[0].body.size();
    EXPECT_EQ(requests[0].Header("Content-Type"), "multipart/form-data; boundary=" + b);
    EXPECT_EQ(requests[0].Header("Content-Length"), std::to_string(expected.size()));
}

}  // namespace
}  // namespace hvx::test
