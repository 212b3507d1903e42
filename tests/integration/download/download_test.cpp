// The IHttp facade's file request and FileDownloader end to end: libcaspo.so through its
// exports, over HTTPS with verification on, against caspo-backend.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/integration/download/download_fixture.h"

namespace hvx::test {
namespace {

constexpr std::uint32_t kUntouched = 12345;
// Later than any file the backend serves.
constexpr const char16_t* kFutureDate = u"Fri, 01 Jan 2100 00:00:00 GMT";
constexpr const char* kServerError = "/status/404?result=0xC1050005&detail=gone";

struct FacadeCase {
    const char* name;
    std::string target;
    bool conditional = false;  // sends If-Modified-Since kFutureDate
    HRESULT result = S_OK;
    std::uint32_t status = kUntouched;
    std::optional<std::string> content{};  // nothing: no file is left
};

std::vector<FacadeCase> FacadeCases() {
    return {
        // A whole body over a file from before: FileRequestStepsTest, and the downloader below.
        {"NoContentKeepsAnEmptyFile", "/status/204", false, S_OK, 204, ""},
        {"NotModifiedLeavesNoFile", "/files/blob.bin", true, S_OK, 304},
        // The JSON error body went to the file, not to the error-body reader.
        {"ErrorWithJsonBodyDeletesTheFile", kServerError, false, HVX_E_HTTP_ERROR_STATUS, 404},
    };
}

class FacadeDownloadTest : public DownloadTest, public ::testing::WithParamInterface<FacadeCase> {};

TEST_P(FacadeDownloadTest, LeavesWhatTheAnswerDeserves) {
    const FacadeCase& expected = GetParam();
    WriteFile(folder / "download.bin", "a file from before");
    const auto http = backend.NewHttp();
    ASSERT_EQ(http->Init(u"GET", backend.WideUrl(expected.target).c_str(), {}, nullptr), S_OK);
    if (expected.conditional) {
        EXPECT_EQ(http->AddHeader(u"If-Modified-Since", kFutureDate), S_OK);
    }
    std::uint32_t status = kUntouched;

    EXPECT_EQ(http->MakeFileRequest(&status, Target().c_str()), expected.result);
    EXPECT_EQ(status, expected.status);
    EXPECT_EQ(TargetContent(), expected.content);
}

INSTANTIATE_TEST_SUITE_P(Answers, FacadeDownloadTest, ::testing::ValuesIn(FacadeCases()),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

// Log lines hold "<url>" and "<path>" for the case's URL and target.
struct DownloaderCase {
    const char* name;
    std::string target;
    HRESULT result = S_OK;
    std::optional<std::string> content{};
    std::vector<std::string> traces{};  // among the traces
    std::vector<std::string> errors{};  // among the errors
    std::u16string url{};               // instead of the backend's URL of the target
};

constexpr const char* kGetting = "FileDownloader::DownloadHttpFile: Getting <url>";
constexpr const char* kSaving = "FileDownloader::DownloadHttpFile: Saving to <path>";

std::vector<DownloaderCase> DownloaderCases() {
    return {
        {"OkWithBody",
         "/files/blob.bin",
         S_OK,
         ServedContent(kBlobSize),
         {kGetting, kSaving,
          "FileDownloader::DownloadHttpFile downloaded file: <path> from url: <url>, response: "
          "200, hr: 0x0"}},
        {"NoContentIsNotAFile",
         "/status/204",
         HVX_E_DOWNLOAD_STATUS,
         "",
         {"FileDownloader::DownloadHttpFile downloaded file: <path> from url: <url>, response: "
          "204, hr: 0x0"}},
        {"PartialContentIsNotAFileButStays", "/status/206?body=pa", HVX_E_DOWNLOAD_STATUS, "pa"},
        {"ErrorStatusLeavesNoFile",
         kServerError,
         HVX_E_HTTP_ERROR_STATUS,
         std::nullopt,
         {kSaving},
         {"FileDownloader::DownloadHttpFile: unable to download file from url: <url>, hr: "
          "0xc1050001"}},
        {"UrlTheSessionRefusesEndsAtInit",
         "",
         HVX_E_URL_INVALID,
         std::nullopt,
         {kGetting},
         {"FileDownloader::DownloadHttpFile: unable to initialize http init: not a url, hr: "
          "0xc1030002"},
         u"not a url"},
    };
}

void PrintTo(const DownloaderCase& downloaderCase, std::ostream* out) {
    *out << downloaderCase.name;
}

class DownloaderTest : public DownloadTest, public ::testing::WithParamInterface<DownloaderCase> {
protected:
    std::string Expected(std::string line, const std::u16string& url) const {
        for (const auto& [mark, text] : {std::pair<std::string, std::string>{"<url>", Logged(url)},
                                         {"<path>", Logged(Target())}}) {
            if (const auto at = line.find(mark); at != std::string::npos) {
                line.replace(at, mark.size(), text);
            }
        }
        return line;
    }
    static std::string Logged(const std::u16string& text) {
        return std::filesystem::path(text).string();
    }
};

TEST_P(DownloaderTest, JudgesTheStatusAndSaysWhatHappened) {
    const DownloaderCase& expected = GetParam();
    const std::u16string url =
        expected.url.empty() ? backend.WideUrl(expected.target) : expected.url;
    const auto downloader = backend.NewDownloader();

    EXPECT_EQ(downloader->DownloadHttpFile(url.c_str(), Target().c_str(), [] { return false; }),
              expected.result);
    EXPECT_EQ(TargetContent(), expected.content);
    for (const std::string& line : expected.traces) {
        EXPECT_TRUE(log.HasTrace(Expected(line, url))) << Expected(line, url);
    }
    for (const std::string& line : expected.errors) {
        EXPECT_TRUE(log.HasError(Expected(line, url))) << Expected(line, url);
    }
    EXPECT_EQ(log.HasTrace(Expected(kSaving, url)), expected.result != HVX_E_URL_INVALID);
}

INSTANTIATE_TEST_SUITE_P(Answers, DownloaderTest, ::testing::ValuesIn(DownloaderCases()),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(DownloadTest, FolderThatDoesNotExistIsPathNotFoundWithoutStatus) {
    const std::u16string path = (folder / "absent" / "download.bin").u16string();
    const auto http = backend.NewHttp();
    ASSERT_EQ(http->Init(u"GET", backend.WideUrl("/files/blob.bin").c_str(), {}, nullptr), S_OK);
    std::uint32_t status = kUntouched;

    EXPECT_EQ(http->MakeFileRequest(&status, path.c_str()),
              HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(status, kUntouched);
    EXPECT_EQ(backend.NewDownloader()->DownloadHttpFile(backend.WideUrl("/files/blob.bin").c_str(),
                                                        path.c_str(), {}),
              HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(std::filesystem::exists(folder / "absent"));
}

TEST_F(DownloadTest, ShutdownMidDownloadAbortsAndLeavesNothing) {
    // A body that trickles in for a long while unless the transfer is stopped.
    const std::string slow = "/slow?bytes=10000000&chunk=4096&interval_ms=5";
    bool sawPartialFile = false;
    // The body goes to a file beside the target until it is complete.
    const auto shutdown = [&] {
        for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
            std::error_code gone;
            const std::uintmax_t size = std::filesystem::file_size(entry.path(), gone);
            sawPartialFile = sawPartialFile || (!gone && size > 0);
        }
        return sawPartialFile;
    };

    EXPECT_EQ(backend.NewDownloader()->DownloadHttpFile(backend.WideUrl(slow).c_str(),
                                                        Target().c_str(), shutdown),
              HVX_E_TRANSFER_FAILED);
    EXPECT_TRUE(sawPartialFile);
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
    EXPECT_TRUE(log.HasTrace(
        "hvx::CHttpCurl::GetShutdownStatus shutdown state detected, setting transfer abort "
        "conditions"));
}

}  // namespace
}  // namespace hvx::test
