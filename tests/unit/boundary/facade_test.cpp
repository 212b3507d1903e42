// The IHttp facade passes every operation to the session it owns; FileDownloader refuses null
// arguments before it builds anything.
#include <gtest/gtest.h>

#include <cstdint>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "boundary/external_http.h"
#include "boundary/file_downloader.h"
#include "tests/unit/boundary/boundary_fixture.h"

namespace hvx::test {
namespace {

using FacadeTest = BoundaryTest;

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

TEST_F(FacadeTest, StoresTheStatusOfAFileRequest) {
    engines.script.responseCode = 206;
    engines.script.body = "part";
    CExternalHttp facade;
    IHttp& http = facade;
    ASSERT_EQ(http.Init(u"GET", kFileUrl, {}, &config), S_OK);
    std::uint32_t status = 0;

    EXPECT_EQ(http.MakeFileRequest(&status, Target().c_str()), S_OK);
    EXPECT_EQ(status, 206U);
    EXPECT_EQ(ReadFile(folder / "download.bin"), "part");
}

// A pointer as the log writes it: sixteen upper-case hexadecimal digits.
std::string PointerText(const void* pointer) {
    std::ostringstream text;
    text << std::hex << std::uppercase << std::setw(16) << std::setfill('0')
         << reinterpret_cast<std::uintptr_t>(pointer);
    return text.str();
}

TEST_F(FacadeTest, DownloaderRefusesANullUrlOrPath) {
    FileDownloader downloader;
    const std::u16string path = Target();

    EXPECT_EQ(downloader.DownloadHttpFile(nullptr, path.c_str(), {}), HVX_E_INVALID_ARGUMENT);
    EXPECT_EQ(downloader.DownloadHttpFile(kFileUrl, nullptr, {}), HVX_E_INVALID_ARGUMENT);

    EXPECT_EQ(log.Errors(), (std::vector<std::string>{
                                "FileDownloader::DownloadHttpFile: Url or path is null: url: "
                                "'0000000000000000' path: '" +
                                    PointerText(path.c_str()) + "'",
                                "FileDownloader::DownloadHttpFile: Url or path is null: url: '" +
                                    PointerText(kFileUrl) + "' path: '0000000000000000'"}));
    EXPECT_EQ(engines.created, 0);
    EXPECT_FALSE(Exists());
}

}  // namespace
}  // namespace hvx::test
