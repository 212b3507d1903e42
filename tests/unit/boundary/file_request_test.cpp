// hvx::CHttpCurl::MakeFileRequest against the scripted engine: what is left at the path, the
// result and status, and the exact error records, for each way a download can end.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/file.h"
#include "platform/last_error.h"
#include "session/http_curl.h"
#include "tests/unit/boundary/boundary_fixture.h"

namespace hvx::test {
namespace {

constexpr std::uint32_t kUntouched = 12345;
constexpr int kCurlUnknownOption = 48;
// Stands for the target path in the expected records.
constexpr std::string_view kPathMark = "<path>";

struct FileCase {
    const char* name;
    EngineScript script;
    bool fileBefore = false;
    HRESULT result = S_OK;
    std::uint32_t status = kUntouched;
    std::optional<std::string> content{};  // nothing: no file at the path
    std::vector<std::string> errors{};
    std::optional<std::u16string> errorText{};  // the session's, when the case decides it
};

EngineScript Answer(std::uint32_t status, std::string body = {}) {
    EngineScript script;
    script.responseCode = status;
    script.body = std::move(body);
    return script;
}

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
        {.name = "OkKeepsTheBody",
         .script = Answer(200, "policy"),
         .fileBefore = true,
         .status = 200,
         .content = "policy"},
        {.name = "NotModifiedLeavesNoFile",
         .script = Answer(304),
         .fileBefore = true,
         .status = 304},
        {.name = "ErrorStatusDeletesTheFile",
         .script = Answer(404, R"({"result": 5})"),
         .fileBefore = true,
         .result = HVX_E_HTTP_ERROR_STATUS,
         .status = 404,
         .errors = {"Error occured, 0xc1050001: "}},
        {.name = "FailedTransferDeletesTheFile",
         .script = Unreachable(),
         .fileBefore = true,
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
         .content = "x",
         .errors = {"hvx::CHttpCurl::MakeFileRequest: set write callback data failed"}},
    };
}

void PrintTo(const FileCase& fileCase, std::ostream* out) {
    *out << fileCase.name;
}

std::string WithPath(std::string text, const std::string& path) {
    if (const auto at = text.find(kPathMark); at != std::string::npos) {
        text.replace(at, kPathMark.size(), path);
    }
    return text;
}

class FileRequestTest : public BoundaryTest, public ::testing::WithParamInterface<FileCase> {};

TEST_P(FileRequestTest, EndsAsScripted) {
    const FileCase& expected = GetParam();
    if (expected.fileBefore) {
        WriteFile(folder / "download.bin", "an older file");
    }
    engines.script = expected.script;
    CHttpCurl session;
    ASSERT_EQ(session.Init(u"GET", kFileUrl, {}, &config, 0), S_OK);
    log.Clear();

    std::uint32_t status = kUntouched;
    EXPECT_EQ(session.MakeFileRequest(status, Target()), expected.result);
    EXPECT_EQ(status, expected.status);
    EXPECT_EQ(ReadWholeFile(folder / "download.bin"), expected.content);
    std::vector<std::string> errors;
    for (const std::string& text : expected.errors) {
        errors.push_back(WithPath(text, Logged(Target())));
    }
    EXPECT_EQ(log.Errors(), errors);
    if (expected.errorText) {
        EXPECT_EQ(session.ErrorText(), *expected.errorText);
    }
}

INSTANTIATE_TEST_SUITE_P(Endings, FileRequestTest, ::testing::ValuesIn(Cases()),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

class FileRequestStepsTest : public BoundaryTest {
protected:
    void Init(CHttpCurl& session, ShutdownCallback shutdown = {}) {
        ASSERT_EQ(session.Init(u"GET", kFileUrl, std::move(shutdown), &config, 0), S_OK);
        log.Clear();
    }
};

TEST_F(FileRequestStepsTest, BodyGoesThroughTheWriteCallbackIntoAnUnsharedFile) {
    engines.script = Answer(200, std::string(40000, 'b'));
    DWORD shareError = ERROR_SUCCESS;
    // The progress callback runs inside the transfer, while the file is being written.
    const auto tryToOpen = [this, &shareError] {
        HANDLE other =
            os::CreateFileW(Target().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
        shareError = other == INVALID_HANDLE_VALUE ? os::GetLastError() : ERROR_SUCCESS;
        if (other != INVALID_HANDLE_VALUE) {
            os::CloseHandle(other);
        }
        return false;
    };
    CHttpCurl session;
    Init(session, tryToOpen);
    std::uint32_t status = 0;

    ASSERT_EQ(session.MakeFileRequest(status, Target()), S_OK);
    EXPECT_EQ(shareError, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(engines.last->callbacks[curlopt::kWriteFunction],
              reinterpret_cast<void*>(&CHttpCurl::WriteData));
    EXPECT_EQ(engines.last->callbackData[curlopt::kWriteData], &session);
    EXPECT_EQ(ReadWholeFile(folder / "download.bin"), std::string(40000, 'b'));
    EXPECT_TRUE(log.HasTrace("hvx::CHttpCurl::MakeFileRequest file download status: 0x0"));
    EXPECT_EQ(
        log.TraceLevel("hvx::CHttpCurl::MakeFileRequest " + Logged(Target()) + " file downloaded"),
        0x1000U);
}

TEST_F(FileRequestStepsTest, MissingFolderIsAWin32ErrorAndNothingIsSent) {
    CHttpCurl session;
    Init(session);
    const std::u16string path = (folder / "absent" / "download.bin").u16string();
    std::uint32_t status = kUntouched;

    EXPECT_EQ(session.MakeFileRequest(status, path), HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(status, kUntouched);
    EXPECT_TRUE(engines.last->transfers.empty());
    EXPECT_EQ(log.Errors(),
              std::vector<std::string>{"hvx::CHttpCurl::MakeFileRequest: unable to create file: " +
                                       Logged(path)});
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
