// libcaspo.so as a caller sees it: loaded by its module name, used only through its exports.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "interfaces/caspo.h"
#include "platform/module.h"
#include "support/module_handle.h"
#include "tests/support/log_capture.h"

namespace hvx::test {
namespace {

class ExportsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(m_module, nullptr) << "libcaspo.so did not load"; }

    template <typename Export>
    Export Find(const char* name) const {
        const auto address = GetExport<Export>(m_module.get(), name);
        EXPECT_NE(address, nullptr) << name;
        return address;
    }

    LogCapture log;

private:
    ModuleHandle m_module{os::LoadLibraryW(kCaspoModule)};
};

TEST_F(ExportsTest, ReleaseFunctionsIgnoreNull) {
    Find<decltype(&ReleaseIHTTP)>("ReleaseIHTTP")(nullptr);
    Find<decltype(&ReleaseHttpC)>("ReleaseHttpC")(nullptr);
    Find<decltype(&ReleaseFileDownloaderInstance)>("ReleaseFileDownloaderInstance")(nullptr);
    Find<decltype(&ReleaseIWAIHttp)>("ReleaseIWAIHttp")(nullptr);
    Find<decltype(&ReleaseIOstraHTTP)>("ReleaseIOstraHTTP")(nullptr);
    Find<decltype(&ReleaseIHTTPUpload)>("ReleaseIHTTPUpload")(nullptr);
    Find<decltype(&ReleaseIProductInventoryHttp)>("ReleaseIProductInventoryHttp")(nullptr);
    Find<decltype(&ReleaseIUpdateHttp)>("ReleaseIUpdateHttp")(nullptr);
    EXPECT_TRUE(log.Records().empty());
}

TEST_F(ExportsTest, IWAIHttpIsANameOnly) {
    const auto get = Find<decltype(&GetIWAIHttp)>("GetIWAIHttp");
    EXPECT_EQ(get(), nullptr);
    EXPECT_EQ(get(), nullptr);
    // Anything is accepted and nothing happens to it.
    int anything = 7;
    Find<decltype(&ReleaseIWAIHttp)>("ReleaseIWAIHttp")(reinterpret_cast<IWAIHttp*>(&anything));
    EXPECT_EQ(anything, 7);
}

TEST_F(ExportsTest, BareSessionHasTheSeventhOperation) {
    IHttpSession* session = Find<decltype(&GetHttpC)>("GetHttpC")();
    ASSERT_NE(session, nullptr);
    EXPECT_EQ(session->AddRequestHeader(nullptr, u"v"), S_FALSE);
    EXPECT_EQ(session->AddRequestHeader(u"X-Name", u"v"), S_OK);
    EXPECT_EQ(session->SetOption(13, 1), S_FALSE);  // no engine before Init
    Find<decltype(&ReleaseHttpC)>("ReleaseHttpC")(session);
}

TEST_F(ExportsTest, DownloaderRefusesANullUrlWithItsLogLine) {
    IFileDownloader* downloader =
        Find<decltype(&CreateFileDownloaderInstance)>("CreateFileDownloaderInstance")();
    ASSERT_NE(downloader, nullptr);

    EXPECT_EQ(downloader->DownloadHttpFile(nullptr, nullptr, [] { return false; }),
              HVX_E_INVALID_ARGUMENT);
    EXPECT_EQ(log.Errors(), std::vector<std::string>{
                                "FileDownloader::DownloadHttpFile: Url or path is null: url: "
                                "'0000000000000000' path: '0000000000000000'"});
    Find<decltype(&ReleaseFileDownloaderInstance)>("ReleaseFileDownloaderInstance")(downloader);
}

}  // namespace
}  // namespace hvx::test
