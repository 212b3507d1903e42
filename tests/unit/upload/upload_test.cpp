// hvx::CHttpUpload against the scripted engine: the sections on the wire byte by byte, how the
// answer's status is judged, and the sections that cannot be added.
#include "clients/upload/http_upload.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/file.h"
#include "tests/support/client_test.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wide.h"

namespace hvx::test {
namespace {

// A file opened for reading, closed with the object.
class OpenFile {
public:
    OpenFile(const std::filesystem::path& path, const std::string& content) {
        WriteFile(path, content);
        m_handle = os::CreateFileW(path.u16string().c_str(), GENERIC_READ, FILE_SHARE_READ,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    }
    ~OpenFile() { os::CloseHandle(m_handle); }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};

class UploadTest : public ClientTest {
protected:
    // A form-data part as the body carries it.
    std::string Part(const std::string& name, const std::string& data,
                     const std::string& fileName = "") const {
        std::string part = "--" + client.Session().Boundary() +
                           "\r\nContent-Disposition: form-data; name=\"" + name + "\"";
        if (!fileName.empty()) {
            part += "; filename=\"" + fileName + "\"\r\nContent-Type: application/octet-stream";
        }
        return part + "\r\n\r\n" + data + "\r\n";
    }
    std::string Closing() const { return "--" + client.Session().Boundary() + "--\r\n"; }
    std::string Sent() const { return Engine().transfers.back().body; }
    HRESULT Upload(const char16_t* fileName, HANDLE file, const UploadFields* extra = nullptr) {
        return client.UploadFile(u"https://upload.example/in", nullptr, nullptr, fileName, file,
                                 nullptr, nullptr, nullptr, 0, 0, 0, extra);
    }

    TempDir folder;
    CHttpUpload client;
};

TEST_F(UploadTest, SectionsGoInTheirOrderWithTheirBytes) {
    store().PutWide(keys::kAgentUuid, u"8d0b6a8e-1c55-4f0e-9a59-2f3c1e1d2b3a");
    store().PutWide(keys::kAgentVersion, u"6.5.0");
    const OpenFile file(folder / "scan.log", std::string("bin\0ary", 7));
    const OpenFile meta(folder / "meta.json", "{\"k\":1}");
    const std::uint8_t memory[] = {'m', 'e', 'm'};
    const UploadField fields[] = {{u"zeta", u"last"}, {u"alpha", u"first"}, {u"zeta", u"wins"}};
    const UploadFields extra{fields, 3};

    EXPECT_EQ(client.UploadFile(u"https://upload.example/in", nullptr, nullptr, u"scan.log",
                                file.get(), u"meta.json", meta.get(), memory, 3, 1, 1, &extra),
              S_OK);
    EXPECT_EQ(Sent(), Part("alpha", "first") + Part("zeta", "wins") +
                          Part("agent-guid", "8d0b6a8e-1c55-4f0e-9a59-2f3c1e1d2b3a") +
                          Part("version", "6.5.0") + Part("encrypted", "1") +
                          Part("file", std::string("bin\0ary", 7), "scan.log") +
                          Part("metadata", "{\"k\":1}", "meta.json") +
                          Part("file", "mem", "scan.log") + Closing());
    EXPECT_EQ(Engine().appendedHeaders,
              std::vector<std::u16string>{u"Content-Type: multipart/form-data; boundary=" +
                                          Wide(client.Session().Boundary())});
}

TEST_F(UploadTest, ABufferWithoutFileNameIsAMemoryFileAndNothingElseIsSent) {
    const std::uint8_t memory[] = {'x'};
    EXPECT_EQ(client.UploadFile(u"https://upload.example/in", nullptr, nullptr, nullptr, nullptr,
                                nullptr, nullptr, memory, 1, 0, 0),
              S_OK);
    EXPECT_EQ(Sent(), Part("file", "x", "MemoryFile") + Closing());
}

TEST_F(UploadTest, AHandleAtTheEndGivesAnEmptyFileSection) {
    const OpenFile file(folder / "read.bin", "already read");
    std::vector<char> ignored;
    ASSERT_EQ(CHttpUpload::ReadContents(file.get(), ignored), S_OK);
    EXPECT_EQ(Upload(u"read.bin", file.get()), S_OK);
    EXPECT_EQ(Sent(), Part("file", "", "read.bin") + Closing());
}

TEST_F(UploadTest, ASecondUploadRepeatsTheEarlierSections) {
    const UploadField fields[] = {{u"a", u"1"}};
    const UploadFields extra{fields, 1};
    const std::uint8_t memory[] = {'2'};
    ASSERT_EQ(Upload(u"f.bin", nullptr, &extra), HVX_E_UPLOAD_SECTION);
    ASSERT_EQ(client.UploadFile(u"https://upload.example/in", nullptr, nullptr, nullptr, nullptr,
                                nullptr, nullptr, memory, 1, 0, 0),
              S_OK);
    const std::string boundary = client.Session().Boundary();
    ASSERT_EQ(client.UploadFile(u"https://upload.example/in", nullptr, nullptr, nullptr, nullptr,
                                nullptr, nullptr, memory, 1, 0, 0),
              S_OK);
    EXPECT_EQ(Sent(), Part("a", "1") + Part("file", "2", "MemoryFile") +
                          Part("file", "2", "MemoryFile") + Closing())
        << "a section added before a failure stays too";
    EXPECT_EQ(client.Session().Boundary(), boundary);
    EXPECT_EQ(Engine().appendedHeaders.size(), 1u);
    EXPECT_EQ(engines.created - engines.released, 1) << "earlier engines went back";
}

struct StatusRow {
    std::uint32_t status;
    std::string body;
    HRESULT expected;
};

class UploadStatus : public UploadTest, public ::testing::WithParamInterface<StatusRow> {};

TEST_P(UploadStatus, OnlyStatusesFrom200To399AreTheRequestsOwn) {
    engines.script.responseCode = GetParam().status;
    engines.script.body = GetParam().body;
    const std::uint8_t memory[] = {'x'};
    EXPECT_EQ(client.UploadFile(u"https://upload.example/in", nullptr, nullptr, nullptr, nullptr,
                                nullptr, nullptr, memory, 1, 0, 0),
              GetParam().expected);
    const auto status = std::to_string(GetParam().status);
    EXPECT_EQ(log.HasError("hvx::CHttpUpload::UploadFile: failed to send file: " + status),
              GetParam().expected == HVX_E_UPLOAD_STATUS);
}

INSTANTIATE_TEST_SUITE_P(Rows, UploadStatus,
                         ::testing::Values(StatusRow{199, "x", HVX_E_UPLOAD_STATUS},
                                           StatusRow{200, "ok", S_OK},
                                           StatusRow{200, "", HVX_E_NO_RESPONSE_BODY},
                                           StatusRow{302, "", E_FAIL}, StatusRow{304, "", S_OK},
                                           StatusRow{399, "", E_FAIL},
                                           StatusRow{400, "", HVX_E_UPLOAD_STATUS}));

TEST_F(UploadTest, SectionsThatCannotBeAddedStopTheUpload) {
    // 4 GiB that take no room on disk: the content cannot go into a 32-bit body.
    const OpenFile huge(folder / "huge.bin", "");
    std::filesystem::resize_file(folder / "huge.bin", std::uintmax_t{1} << 32U);
    std::ostringstream hugeHandle;
    hugeHandle << std::hex << reinterpret_cast<std::uintptr_t>(huge.get());
    const UploadField empty[] = {{u"note", u""}};
    const UploadFields emptyValue{empty, 1};
    const UploadFields tooMany{empty, kMaxUploadFields + 1};
    struct Row {
        HRESULT result;
        std::vector<std::string> errors;
    };
    const std::vector<Row> rows = {
        {Upload(nullptr, nullptr, &emptyValue),
         {"hvx::CHttpUpload::UploadFile: failed to add section: note"}},
        {Upload(nullptr, nullptr, &tooMany),
         {"hvx::CHttpUpload::UploadFile: invalid extra sections (1025)"}},
        {Upload(u"f.bin", nullptr),
         {"hvx::CHttpUpload::AddFileSection: unable to read contents (0x0)",
          "hvx::CHttpUpload::UploadFile: failed to add file section"}},
        {Upload(u"f.bin", INVALID_HANDLE_VALUE),
         {"hvx::CHttpUpload::AddFileSection: unable to read contents (0xffffffff)",
          "hvx::CHttpUpload::UploadFile: failed to add file section"}},
        {Upload(u"huge.bin", huge.get()),
         {"hvx::CHttpUpload::AddFileSection: unable to read contents (0x" + hugeHandle.str() + ")",
          "hvx::CHttpUpload::UploadFile: failed to add file section"}},
        {client.UploadFile(u"https://upload.example/in", nullptr, nullptr, nullptr, nullptr,
                           u"m.json", INVALID_HANDLE_VALUE, nullptr, 0, 0, 0),
         {"hvx::CHttpUpload::AddFileSection: unable to read contents (0xffffffff)",
          "hvx::CHttpUpload::UploadFile: failed to add meta file section"}},
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].result, HVX_E_UPLOAD_SECTION) << "row " << i;
    }
    std::vector<std::string> expected;
    for (const Row& row : rows) {
        expected.insert(expected.end(), row.errors.begin(), row.errors.end());
    }
    EXPECT_EQ(log.Errors(), expected);
    EXPECT_TRUE(Engine().transfers.empty()) << "nothing is sent";
}

}  // namespace
}  // namespace hvx::test
