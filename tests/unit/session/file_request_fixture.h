// hvx::CHttpCurl::MakeFileRequest against the scripted engine, one case at a time: what is at the
// target before, what somebody else does to the folder while the body comes in, and what the
// folder holds, the result, the status and the exact error records afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file.h"
#include "platform/last_error.h"
#include "session/http_curl.h"
#include "tests/support/file_target_test.h"
#include "tests/support/symlink.h"

namespace hvx::test {

inline constexpr std::uint32_t kUntouched = 12345;
inline constexpr int kCurlUnknownOption = 48;
// Stand for the target path and for the file written beside it in the expected records.
inline constexpr std::string_view kPathMark = "<path>";
inline constexpr std::string_view kBesideMark = "<beside>";

// What a folder holds: each name and what is there ("file:<bytes>", "link:<where>", "fifo",
// "folder").
using Entries = std::map<std::string, std::string>;

inline Entries Snapshot(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
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

inline Entries TargetFile(const std::string& content) {
    return {{"download.bin", "file:" + content}};
}

// What is at the target before the call (a FIFO is made by its own test).
enum class Before { Nothing, File, LinkToFile, DanglingLink, Folder };
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

inline void PrintTo(const FileCase& fileCase, std::ostream* out) {
    *out << fileCase.name;
}

inline EngineScript Answer(std::uint32_t status, std::string body = {}) {
    EngineScript script;
    script.responseCode = status;
    script.body = std::move(body);
    return script;
}

inline std::vector<std::string> RefusalRecords(const char* code) {
    return {std::string("hvx::ReplacementFile::Create: <path> is a link, pipe, device or folder, "
                        "not a file; left as it is: ") +
                code,
            "hvx::CHttpCurl::MakeFileRequest: unable to create file: <path>"};
}

class FileRequestCaseTest : public FileTargetTest {
protected:
    // False when the target needs a link and the system cannot make one.
    bool Prepare(Before before) {
        namespace fs = std::filesystem;
        const fs::path target = folder / "download.bin";
        switch (before) {
            case Before::Nothing:
                break;
            case Before::File:
                WriteFile(target, "an older file");
                break;
            case Before::LinkToFile:
                WriteFile(folder / "linked.bin", "the linked file");
                return MakeSymlink("linked.bin", target);
            case Before::DanglingLink:
                return MakeSymlink("nowhere.bin", target);
            case Before::Folder:
                fs::create_directory(target);
                break;
        }
        return true;
    }

    // The shutdown callable runs inside the transfer, before the body comes.
    ShutdownCallback Meddle(Midway midway) {
        return [this, midway] {
            namespace fs = std::filesystem;
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

    // Prepares the target, runs the download and checks everything the case expects.
    void EndsAs(const FileCase& expected) {
        if (!Prepare(expected.before)) {
            GTEST_SKIP() << kNoSymlinks;
        }
        const Entries before = Snapshot(folder.path());
        const std::u16string path = Target();
        engines.script = expected.script;
        CHttpCurl session;
        ASSERT_EQ(session.Init(u"GET", kFileUrl, Meddle(expected.midway), &config, 0), S_OK);
        log.Clear();

        std::uint32_t status = kUntouched;
        EXPECT_EQ(session.MakeFileRequest(status, path), expected.result);
        EXPECT_EQ(status, expected.status);
        EXPECT_EQ(Snapshot(folder.path()), expected.refused ? before : expected.after);
        EXPECT_EQ(engines.last->transfers.size(), expected.refused ? 0U : 1U);
        std::vector<std::string> errors;
        for (const std::string& text : expected.errors) {
            errors.push_back(
                Replaced(Replaced(text, kPathMark, Logged(path)), kBesideMark, beside));
        }
        EXPECT_EQ(log.Errors(), errors);
        if (expected.errorText) {
            EXPECT_EQ(session.ErrorText(), *expected.errorText);
        }
    }

    std::string beside;

private:
    static std::string Replaced(std::string text, std::string_view mark, const std::string& by) {
        if (const auto at = text.find(mark); at != std::string::npos) {
            text.replace(at, mark.size(), by);
        }
        return text;
    }
};

}  // namespace hvx::test
