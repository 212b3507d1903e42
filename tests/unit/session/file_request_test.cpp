// hvx::CHttpCurl::MakeFileRequest against the scripted engine: what the folder holds afterwards,
// the result and status, and the exact error records, for each way a download can end and for
// each kind of thing that can be at the target (a FIFO, and files renamed while open, in
// file_request_posix_test.cpp).
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/unit/session/file_request_fixture.h"

namespace hvx::test {
namespace {

EngineScript Refusing(int option, std::uint32_t status, std::string body = {}) {
    EngineScript script = Answer(status, std::move(body));
    script.callbackResults[option] = kCurlUnknownOption;
    script.errorBuffer = "option refused";
    return script;
}

EngineScript Unreachable() {
    EngineScript script;
    script.transferResult = kCurlCouldntConnect;
    script.errorBuffer = "Connection refused";
    return script;
}

std::vector<FileCase> Cases() {
    return {
        {.name = "FailedTransferDeletesTheFile",
         .script = Unreachable(),
         .before = Before::File,
         .result = HVX_E_TRANSFER_FAILED,
         .errors =
             {"hvx::CHttpCurl::SendRequest  sending remote request(GET): "
              "https://backend.example/files/policy.bin, status: 0x7. msg: Connection refused "
              "/ No error",
              "hvx::CHttpCurl::MakeFileRequest unable to download file to (<path>) with error: "
              "0xc1050007",
              "Error occured, 0xc1050007: "}},
        {.name = "RefusedWriteCallbackStillDownloads",
         .script = Refusing(curlopt::kWriteFunction, 503),
         .result = HVX_E_HTTP_ERROR_STATUS,
         .status = 503,
         .errors = {"hvx::CHttpCurl::MakeFileRequest: set write callback function failed",
                    "Error occured, 0xc1050001: option refused"},
         .errorText = u"option refused"},
        {.name = "RefusedWriteDataStillDownloads",
         .script = Refusing(curlopt::kWriteData, 200, "x"),
         .status = 200,
         .after = TargetFile("x"),
         .errors = {"hvx::CHttpCurl::MakeFileRequest: set write callback data failed"}},
        // What is at the target is looked at before anything is sent.
        {.name = "LinkToAFileIsNotFollowedForAnOk",
         .script = Answer(200, "server"),
         .before = Before::LinkToFile,
         .result = HRESULT_FROM_WIN32(ERROR_CANT_ACCESS_FILE),
         .refused = true,
         .errors = RefusalRecords("0x80070780")},
        {.name = "LinkToAFileIsNotFollowedForAnError",
         .script = Answer(500, "server error"),
         .before = Before::LinkToFile,
         .result = HRESULT_FROM_WIN32(ERROR_CANT_ACCESS_FILE),
         .refused = true,
         .errors = RefusalRecords("0x80070780")},
        {.name = "DanglingLinkCreatesNothing",
         .script = Answer(200, "server"),
         .before = Before::DanglingLink,
         .result = HRESULT_FROM_WIN32(ERROR_CANT_ACCESS_FILE),
         .refused = true,
         .errors = RefusalRecords("0x80070780")},
        {.name = "FolderIsNotAFile",
         .script = Answer(200, "server"),
         .before = Before::Folder,
         .result = HRESULT_FROM_WIN32(ERROR_DIRECTORY_NOT_SUPPORTED),
         .refused = true,
         .errors = RefusalRecords("0x80070150")},
        // Only a file that was there at the start is deleted, and the name changes hands only
        // at the end, never onto a folder.
        {.name = "FileThatAppearsMidwayIsNotDeleted",
         .script = Answer(404),
         .midway = Midway::FileAppears,
         .result = HVX_E_HTTP_ERROR_STATUS,
         .status = 404,
         .after = TargetFile("somebody else's"),
         .errors = {"Error occured, 0xc1050001: "}},
        {.name = "FolderThatAppearsMidwayIsNotReplaced",
         .script = Answer(200, "policy"),
         .midway = Midway::TargetBecomesFolder,
         .result = HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED),
         .status = 200,
         .after = {{"download.bin", "folder"}},
         .errors = {"hvx::ReplacementFile::Commit: unable to put <beside> in place of <path>: "
                    "0x80070005",
                    "Error occured, 0x80070005: "}},
    };
}

class FileRequestTest : public FileRequestCaseTest,
                        public ::testing::WithParamInterface<FileCase> {};

TEST_P(FileRequestTest, EndsAsScripted) {
    EndsAs(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Endings, FileRequestTest, ::testing::ValuesIn(Cases()),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

class FileRequestStepsTest : public FileTargetTest {
protected:
    void Init(CHttpCurl& session, ShutdownCallback shutdown = {}) {
        ASSERT_EQ(session.Init(u"GET", kFileUrl, std::move(shutdown), &config, 0), S_OK);
        log.Clear();
    }
};

TEST_F(FileRequestStepsTest, BodyGoesThroughTheWriteCallbackIntoAFileBesideTheTarget) {
    engines.script = Answer(200, std::string(40000, 'b'));
    WriteFile(folder / "download.bin", "an older file");
    Entries midway;
    CHttpCurl session;
    Init(session, [this, &midway] {
        midway = Snapshot(folder.path());
        return false;
    });
    std::uint32_t status = 0;

    ASSERT_EQ(session.MakeFileRequest(status, Target()), S_OK);
    // While the body comes in, the target is the old file and the new one is beside it.
    ASSERT_EQ(midway.size(), 2U);
    EXPECT_EQ(midway["download.bin"], "file:an older file");
    const std::string besideName = std::prev(midway.end())->first;
    EXPECT_EQ(besideName.size(), std::string("download.bin.caspo-0123456789abcdef.part").size());
    EXPECT_TRUE(besideName.starts_with("download.bin.caspo-") && besideName.ends_with(".part"))
        << besideName;
    EXPECT_EQ(Snapshot(folder.path()), TargetFile(std::string(40000, 'b')));
    EXPECT_EQ(engines.last->callbacks[curlopt::kWriteFunction],
              reinterpret_cast<void*>(&CHttpCurl::WriteData));
    EXPECT_EQ(engines.last->callbackData[curlopt::kWriteData], &session);
    EXPECT_TRUE(log.HasTrace("hvx::CHttpCurl::MakeFileRequest file download status: 0x0"));
    EXPECT_EQ(
        log.TraceLevel("hvx::CHttpCurl::MakeFileRequest " + Logged(Target()) + " file downloaded"),
        0x1000U);
}

TEST_F(FileRequestStepsTest, SlotRefusesNullArguments) {
    CHttpCurl session;
    Init(session);
    std::uint32_t status = kUntouched;
    IHttp& http = session;

    EXPECT_EQ(http.MakeFileRequest(nullptr, Target().c_str()), HVX_E_INVALID_PARAMETER);
    EXPECT_EQ(http.MakeFileRequest(&status, nullptr), HVX_E_INVALID_PARAMETER);
    EXPECT_FALSE(Exists());
    EXPECT_TRUE(engines.last->transfers.empty());
}

}  // namespace
}  // namespace hvx::test
