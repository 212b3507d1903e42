// hvx::CHttpUpload against the scripted engine: the sections on the wire byte by byte, how the
// answer's status is judged, and the sections that cannot be added.
#include "clients/upload/http_upload.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/file.h"
#include "tests/support/client_test.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wide.h"

namespace hvx::test {
namespace {

using Texts = std::vector<std::string>;
using OpenFile = std::unique_ptr<void, decltype(&os::CloseHandle)>;

// The file written with `content`, made `size` bytes long when that is more, and opened for
// reading (after the resize: Windows lets nobody else write a file held without write sharing).
OpenFile Opened(const std::filesystem::path& path, const std::string& content,
                std::uintmax_t size = 0) {
    WriteFile(path, content);
    if (size > content.size()) {
        std::filesystem::resize_file(path, size);
    }
    return {os::CreateFileW(path.u16string().c_str(), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL),
            &os::CloseHandle};
}

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
    HRESULT Upload(const char16_t* fileName, HANDLE file, const UploadFields* extra = nullptr,
                   const char16_t* metaName = nullptr, HANDLE meta = nullptr) {
        const std::uint8_t memory[] = {'x'};
        return client.UploadFile(u"https://upload.example/in", nullptr, nullptr, fileName, file,
                                 metaName, meta, memory, 1, 0, 0, extra);
    }

    TempDir folder;
    CHttpUpload client;
};

TEST_F(UploadTest, SectionsGoInTheirOrderWithTheirBytes) {
    store().PutWide(keys::kAgentUuid, u"8d0b6a8e-1c55-4f0e-9a59-2f3c1e1d2b3a");
    store().PutWide(keys::kAgentVersion, u"6.5.0");
    const OpenFile file = Opened(folder / "scan.log", std::string("bin\0ary", 7));
    const OpenFile meta = Opened(folder / "meta.json", "{}");
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
                          Part("metadata", "{}", "meta.json") + Part("file", "mem", "scan.log") +
                          Closing());
    EXPECT_EQ(Engine().appendedHeaders,
              std::vector<std::u16string>{u"Content-Type: multipart/form-data; boundary=" +
                                          Wide(client.Session().Boundary())});
}

TEST_F(UploadTest, LaterUploadsRepeatTheSectionsOfEarlierOnes) {
    const OpenFile read = Opened(folder / "read.bin", "read already");
    SectionBytes ignored;
    ASSERT_EQ(CHttpUpload::ReadContents(read.get(), ignored), S_OK);
    const UploadField fields[] = {{u"a", u"1"}};
    const UploadFields extra{fields, 1};
    ASSERT_EQ(Upload(u"f.bin", nullptr, &extra), HVX_E_UPLOAD_SECTION);
    ASSERT_EQ(Upload(nullptr, nullptr), S_OK);
    const std::string boundary = client.Session().Boundary();
    ASSERT_EQ(Upload(u"read.bin", read.get()), S_OK);
    EXPECT_EQ(Sent(), Part("a", "1") + Part("file", "x", "MemoryFile") +
                          Part("file", "", "read.bin") + Part("file", "x", "read.bin") + Closing())
        << "a section added before a failure stays; a handle at its end gives no content";
    EXPECT_EQ(client.Session().Boundary(), boundary);
    EXPECT_EQ(Engine().appendedHeaders.size(), 1u);
    EXPECT_EQ(engines.created - engines.released, 1) << "earlier engines went back";
}

TEST_F(UploadTest, OnlyStatusesFrom200To399AreTheRequestsOwn) {
    const std::vector<std::tuple<std::uint32_t, std::string, HRESULT>> rows = {
        {199, "x", HVX_E_UPLOAD_STATUS},
        {200, "ok", S_OK},
        {200, "", HVX_E_NO_RESPONSE_BODY},
        {302, "", E_FAIL},
        {304, "", S_OK},
        {399, "", E_FAIL},
        {400, "", HVX_E_UPLOAD_STATUS}};
    for (const auto& [status, body, expected] : rows) {
        engines.script.responseCode = status;
        engines.script.body = body;
        log.Clear();
        CHttpUpload fresh;
        const std::uint8_t memory[] = {'x'};
        EXPECT_EQ(fresh.UploadFile(u"https://upload.example/in", nullptr, nullptr, nullptr, nullptr,
                                   nullptr, nullptr, memory, 1, 0, 0),
                  expected)
            << status;
        EXPECT_EQ(log.HasError("hvx::CHttpUpload::UploadFile: failed to send file: " +
                               std::to_string(status)),
                  expected == HVX_E_UPLOAD_STATUS);
    }
}

TEST_F(UploadTest, SectionsThatCannotBeAddedStopTheUpload) {
    // 4 GiB that take no room on disk: the content cannot go into a 32-bit body.
    const OpenFile huge = Opened(folder / "huge.bin", "", std::uintmax_t{1} << 32U);
    std::ostringstream hugeHandle;
    hugeHandle << std::hex << reinterpret_cast<std::uintptr_t>(huge.get());
    const UploadField empty[] = {{u"note", u""}};
    const UploadFields emptyValue{empty, 1};
    const UploadFields tooMany{empty, kMaxUploadFields + 1};
    const std::string unread = "hvx::CHttpUpload::AddFileSection: unable to read contents (0x";
    const std::string fileFailed = "hvx::CHttpUpload::UploadFile: failed to add file section";
    const std::vector<std::pair<HRESULT, Texts>> rows = {
        {Upload(nullptr, nullptr, &emptyValue),
         {"hvx::CHttpUpload::UploadFile: failed to add section: note"}},
        {Upload(nullptr, nullptr, &tooMany),
         {"hvx::CHttpUpload::UploadFile: invalid extra sections (1025)"}},
        {Upload(u"f.bin", nullptr), {unread + "0)", fileFailed}},
        {Upload(u"f.bin", INVALID_HANDLE_VALUE), {unread + "ffffffff)", fileFailed}},
        {Upload(u"huge.bin", huge.get()), {unread + hugeHandle.str() + ")", fileFailed}},
        {Upload(nullptr, nullptr, nullptr, u"m.json", INVALID_HANDLE_VALUE),
         {unread + "ffffffff)", "hvx::CHttpUpload::UploadFile: failed to add meta file section"}},
    };
    Texts expected;
    for (const auto& [result, errors] : rows) {
        EXPECT_EQ(result, HVX_E_UPLOAD_SECTION);
        expected.insert(expected.end(), errors.begin(), errors.end());
    }
    EXPECT_EQ(log.Errors(), expected);
    EXPECT_TRUE(Engine().transfers.empty()) << "nothing is sent";
}

}  // namespace
}  // namespace hvx::test
