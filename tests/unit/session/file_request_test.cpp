// hvx::CHttpCurl::MakeFileRequest against the scripted engine: what the folder holds afterwards,
// the result and status, and the exact error records, for each way a download can end and for
// each kind of thing that can be at the target.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/file.h"
#include "platform/last_error.h"
#include "session/http_curl.h"
#include "tests/support/file_target_test.h"

namespace hvx::test {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kUntouched = 12345;
constexpr int kCurlUnknownOption = 48;
// Stand for the target path and for the file written beside it in the expected records.
constexpr std::string_view kPathMark = "<path>";
constexpr std::string_view kBesideMark = "<beside>";
constexpr auto kFifoPatience = std::chrono::seconds(5);

// What a folder holds: each name and what is there ("file:<bytes>", "link:<where>", "fifo",
// "folder").
using Entries = std::map<std::string, std::string>;

Entries Snapshot(const fs::path& folder) {
    Entries entries;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        const fs::file_status status = entry.symlink_status();
        std::string& what = entries[entry.path().filename().string()];
        if (fs::is_symlink(status)) {
            what = "link:" + fs::read_symlink(entry.path()).string();
        } else if (fs::is_regular_file(status)) {
            what = "file:" + ReadWholeFile(entry.path()).value_or("?");
        } else {
            what = fs::is_directory(status) ? "folder" : "fifo";
        }
    }
    return entries;
}

Entries TargetFile(const std::string& content) {
    return {{"download.bin", "file:" + content}};
}

enum class Before { Nothing, File, LinkToFile, DanglingLink, Fifo, Folder };
// What somebody else does to the folder while the body comes in.
enum class Midway { Nothing, FileAppears, TargetBecomesFolder, BothBecomeUndeletable };

struct FileCase {
    const char* name;
    EngineScript script;
    Before before = Before::Nothing;
    Midway midway = Midway::Nothing;
    HRESULT result = S_OK;
    std::uint32_t status = kUntouched;
    Entries after{};
    bool refused = false;  // nothing is sent and the folder stays exactly as it was
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

std::vector<std::string> RefusalRecords(const char* code) {
    return {std::string("hvx::ReplacementFile::Create: <path> is a link, pipe, device or folder, "
                        "not a file; left as it is: ") +
                code,
            "hvx::CHttpCurl::MakeFileRequest: unable to create file: <path>"};
}

std::vector<FileCase> Cases() {
    return {
        {.name = "OkReplacesTheFile",
         .script = Answer(200, "policy"),
         .before = Before::File,
         .status = 200,
         .after = TargetFile("policy")},
        {.name = "NotModifiedLeavesNoFile",
         .script = Answer(304),
         .before = Before::File,
         .status = 304},
        {.name = "ErrorStatusDeletesTheFile",
         .script = Answer(404, R"({"result": 5})"),
         .before = Before::File,
         .result = HVX_E_HTTP_ERROR_STATUS,
         .status = 404,
         .errors = {"Error occured, 0xc1050001: "}},
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
        {.name = "FifoIsNeitherOpenedNorWaitedFor",
         .script = Answer(200, "server"),
         .before = Before::Fifo,
         .result = HRESULT_FROM_WIN32(ERROR_BAD_FILE_TYPE),
         .refused = true,
         .errors = RefusalRecords("0x800700de")},
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
        {.name = "FilesThatCannotBeDeletedAreLogged",
         .script = Answer(304),
         .before = Before::File,
         .midway = Midway::BothBecomeUndeletable,
         .status = 304,
         .after = {{"download.bin", "folder"}, {"moved.bin", "file:"}},
         .errors = {"hvx::CHttpCurl::MakeFileRequest unable to delete file: <beside>. download "
                    "failed: 0x0",
                    "hvx::CHttpCurl::MakeFileRequest unable to delete file: <path>. download "
                    "failed: 0x0"}},
    };
}

void PrintTo(const FileCase& fileCase, std::ostream* out) {
    *out << fileCase.name;
}

std::string Replaced(std::string text, std::string_view mark, const std::string& by) {
    if (const auto at = text.find(mark); at != std::string::npos) {
        text.replace(at, mark.size(), by);
    }
    return text;
}

// Opens the FIFO from the other end once a call has had long enough, so that a call that waits
// for a reader ends and the test can say so.
class FifoRescue {
public:
    explicit FifoRescue(fs::path fifo)
        : m_thread([this, fifo = std::move(fifo)](const std::stop_token& stop) {
              std::mutex mutex;
              std::condition_variable_any wake;
              std::unique_lock lock(mutex);
              // Nothing notifies: the wait ends at the stop request or when patience runs out.
              static_cast<void>(wake.wait_for(lock, stop, kFifoPatience, [] { return false; }));
              if (!stop.stop_requested()) {
                  m_fd = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
              }
          }) {}
    ~FifoRescue() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    FifoRescue(const FifoRescue&) = delete;
    FifoRescue& operator=(const FifoRescue&) = delete;
    FifoRescue(FifoRescue&&) = delete;
    FifoRescue& operator=(FifoRescue&&) = delete;

    // Whether the call had to be rescued.
    bool Rescued() {
        m_thread.request_stop();
        m_thread.join();
        return m_fd >= 0;
    }

private:
    int m_fd = -1;
    std::jthread m_thread;
};

class FileRequestTest : public FileTargetTest, public ::testing::WithParamInterface<FileCase> {
protected:
    void Prepare(Before before) {
        const fs::path target = folder / "download.bin";
        switch (before) {
            case Before::Nothing:
                break;
            case Before::File:
                WriteFile(target, "an older file");
                break;
            case Before::LinkToFile:
                WriteFile(folder / "linked.bin", "the linked file");
                fs::create_symlink("linked.bin", target);
                break;
            case Before::DanglingLink:
                fs::create_symlink("nowhere.bin", target);
                break;
            case Before::Fifo:
                ASSERT_EQ(::mkfifo(target.c_str(), 0600), 0);
                break;
            case Before::Folder:
                fs::create_directory(target);
                break;
        }
    }

    // The shutdown callable runs inside the transfer, before the body comes.
    ShutdownCallback Meddle(Midway midway) {
        return [this, midway] {
            const fs::path target = folder / "download.bin";
            for (const fs::directory_entry& entry : fs::directory_iterator(folder.path())) {
                if (entry.path() != target) {
                    beside = entry.path().string();
                }
            }
            if (midway == Midway::FileAppears) {
                WriteFile(target, "somebody else's");
            }
            if (midway == Midway::BothBecomeUndeletable) {
                fs::rename(beside, folder / "moved.bin");
            }
            if (midway == Midway::TargetBecomesFolder || midway == Midway::BothBecomeUndeletable) {
                fs::remove(target);
                fs::create_directory(target);
            }
            return false;
        };
    }

    std::string beside;
};

TEST_P(FileRequestTest, EndsAsScripted) {
    const FileCase& expected = GetParam();
    Prepare(expected.before);
    const Entries before = Snapshot(folder.path());
    const std::u16string path = Target();
    engines.script = expected.script;
    CHttpCurl session;
    ASSERT_EQ(session.Init(u"GET", kFileUrl, Meddle(expected.midway), &config, 0), S_OK);
    log.Clear();

    std::uint32_t status = kUntouched;
    FifoRescue rescue(folder / "download.bin");
    EXPECT_EQ(session.MakeFileRequest(status, path), expected.result);
    EXPECT_FALSE(rescue.Rescued());
    EXPECT_EQ(status, expected.status);
    EXPECT_EQ(Snapshot(folder.path()), expected.refused ? before : expected.after);
    EXPECT_EQ(engines.last->transfers.size(), expected.refused ? 0U : 1U);
    std::vector<std::string> errors;
    for (const std::string& text : expected.errors) {
        errors.push_back(Replaced(Replaced(text, kPathMark, Logged(path)), kBesideMark, beside));
    }
    EXPECT_EQ(log.Errors(), errors);
    if (expected.errorText) {
        EXPECT_EQ(session.ErrorText(), *expected.errorText);
    }
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
