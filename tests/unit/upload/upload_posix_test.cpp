// Upload contents that only POSIX can make here: a FIFO, whose size cannot be known beforehand.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "clients/upload/http_upload.h"
#include "platform/file.h"
#include "tests/support/temp_dir.h"

namespace hvx::test {
namespace {

TEST(UploadContents, AContentThatCannotTellItsSizeIsReadWhole) {
    // A pipe has no size to reserve from: its content is read in blocks into room that grows.
    const TempDir folder;
    const std::filesystem::path path = folder / "pipe";
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    std::string written(3 * 8192 + 100, '\0');
    for (std::size_t i = 0; i < written.size(); ++i) {
        written[i] = static_cast<char>(i % 251);
    }
    std::thread writer([&path, &written] { std::ofstream(path, std::ios::binary) << written; });
    const std::unique_ptr<void, decltype(&os::CloseHandle)> pipe(
        os::CreateFileW(path.u16string().c_str(), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL),
        &os::CloseHandle);
    SectionBytes contents;
    const HRESULT hr = CHttpUpload::ReadContents(pipe.get(), contents);
    writer.join();
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(std::string(contents.begin(), contents.end()), written);
}

}  // namespace
}  // namespace hvx::test
