// Files through CreateFileW and friends: dispositions, sharing, errors as Win32 numbers.
#include "platform/file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_target.h"
#include "platform/last_error.h"
#include "tests/support/file_access.h"
#include "tests/support/symlink.h"
#include "tests/support/temp_dir.h"
#include "tests/unit/platform/fails_with.h"
#include "tests/unit/platform/file_fixture.h"

namespace hvx::os {
namespace {

namespace fs = std::filesystem;
using namespace test_files;

enum class Place { ExistingFile, MissingFile, MissingFolder };

struct DispositionCase {
    const char* name;
    Place place;
    DWORD disposition;
    bool opens;
    DWORD lastError;
    const char* contentAfter;  // null: no file afterwards
};

class PlatformFileDispositions : public PlatformFiles,
                                 public ::testing::WithParamInterface<DispositionCase> {};

TEST_P(PlatformFileDispositions, OpenOrFailAsOnWindows) {
    const DispositionCase& c = GetParam();
    const fs::path path =
        c.place == Place::MissingFolder ? dir / "missing/file.txt" : dir / "file.txt";
    if (c.place == Place::ExistingFile) {
        test::WriteFile(path, "old content that is longer");
    }
    {
        const Handle file(Open(path, GENERIC_READ | GENERIC_WRITE, 0, c.disposition));
        EXPECT_EQ(Valid(file), c.opens);
        EXPECT_EQ(GetLastError(), c.lastError);
    }
    const std::optional<std::string> content = test::ReadWholeFile(path);
    ASSERT_EQ(content.has_value(), c.contentAfter != nullptr);
    if (content) {
        EXPECT_EQ(*content, c.contentAfter);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlatformFileDispositions,
    ::testing::Values(
        DispositionCase{"CreateAlwaysOverExisting", Place::ExistingFile, CREATE_ALWAYS, true,
                        ERROR_ALREADY_EXISTS, ""},
        DispositionCase{"OpenAlwaysOverExisting", Place::ExistingFile, OPEN_ALWAYS, true,
                        ERROR_ALREADY_EXISTS, "old content that is longer"},
        DispositionCase{"OpenExistingOverExisting", Place::ExistingFile, OPEN_EXISTING, true,
                        ERROR_SUCCESS, "old content that is longer"},
        DispositionCase{"TruncateExistingOverExisting", Place::ExistingFile, TRUNCATE_EXISTING,
                        true, ERROR_SUCCESS, ""},
        DispositionCase{"CreateNewOverExisting", Place::ExistingFile, CREATE_NEW, false,
                        ERROR_FILE_EXISTS, "old content that is longer"},
        DispositionCase{"CreateAlwaysNew", Place::MissingFile, CREATE_ALWAYS, true, ERROR_SUCCESS,
                        ""},
        DispositionCase{"OpenAlwaysNew", Place::MissingFile, OPEN_ALWAYS, true, ERROR_SUCCESS, ""},
        DispositionCase{"CreateNewNew", Place::MissingFile, CREATE_NEW, true, ERROR_SUCCESS, ""},
        DispositionCase{"OpenExistingMissing", Place::MissingFile, OPEN_EXISTING, false,
                        ERROR_FILE_NOT_FOUND, nullptr},
        DispositionCase{"TruncateExistingMissing", Place::MissingFile, TRUNCATE_EXISTING, false,
                        ERROR_FILE_NOT_FOUND, nullptr},
        DispositionCase{"CreateAlwaysInMissingFolder", Place::MissingFolder, CREATE_ALWAYS, false,
                        ERROR_PATH_NOT_FOUND, nullptr},
        DispositionCase{"OpenAlwaysInMissingFolder", Place::MissingFolder, OPEN_ALWAYS, false,
                        ERROR_PATH_NOT_FOUND, nullptr},
        DispositionCase{"CreateNewInMissingFolder", Place::MissingFolder, CREATE_NEW, false,
                        ERROR_PATH_NOT_FOUND, nullptr},
        DispositionCase{"OpenExistingInMissingFolder", Place::MissingFolder, OPEN_EXISTING, false,
                        ERROR_PATH_NOT_FOUND, nullptr}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(PlatformFiles, ExclusiveOpenRefusesOthersAndKeepsTheHoldersContent) {
    const fs::path path = dir / "held.txt";
    Handle holder(Open(path, GENERIC_WRITE, 0, CREATE_ALWAYS));
    ASSERT_TRUE(Valid(holder));
    ASSERT_TRUE(Write(holder.get(), "holder"));

    for (const DWORD disposition : {CREATE_ALWAYS, OPEN_EXISTING, TRUNCATE_EXISTING}) {
        const Handle second(Open(path, GENERIC_READ | GENERIC_WRITE, kShareAll, disposition));
        EXPECT_FALSE(Valid(second)) << disposition;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION)) << disposition;
    }

    // The holder's bytes are read once it lets go: while it holds the file, Windows refuses
    // every other open, the test's own included.
    holder.reset();
    EXPECT_EQ(test::ReadWholeFile(path), "holder");
    const Handle after(Open(path, GENERIC_READ, 0, OPEN_EXISTING));
    EXPECT_TRUE(Valid(after));
}

TEST_F(PlatformFiles, SharedOpensCoexist) {
    const fs::path path = dir / "shared.txt";
    const Handle first(Open(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS));
    const Handle second(Open(path, GENERIC_READ, kShareAll, OPEN_EXISTING));
    EXPECT_TRUE(Valid(first));
    EXPECT_TRUE(Valid(second));
    const Handle exclusive(Open(path, GENERIC_READ, 0, OPEN_EXISTING));
    EXPECT_FALSE(Valid(exclusive));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
}

TEST_F(PlatformFiles, WrittenBytesReadBackUnchanged) {
    const fs::path path = dir / "data.bin";
    std::string data(100000, '\0');
    for (std::size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<char>((i * 7) % 256);
    }
    {
        const Handle file(Open(path, GENERIC_WRITE, 0, CREATE_NEW));
        ASSERT_TRUE(Valid(file));
        ASSERT_TRUE(Write(file.get(), data));
    }
    const Handle file(Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
    ASSERT_TRUE(Valid(file));
    std::string back;
    std::vector<char> chunk(4096);
    DWORD got = 0;
    while (ReadFile(file.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &got) && got > 0) {
        back.append(chunk.data(), got);
    }
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(back, data);
}

TEST_F(PlatformFiles, WrongAccessAndFoldersAreRefused) {
    const fs::path path = dir / "readonly.txt";
    test::WriteFile(path, "text");
    const Handle reader(Open(path, GENERIC_READ, kShareAll, OPEN_EXISTING));
    ASSERT_TRUE(Valid(reader));
    EXPECT_TRUE(FailsWith(ERROR_ACCESS_DENIED, [&] { return Write(reader.get(), "more"); }));

    const Handle folder(Open(dir.path(), GENERIC_READ, kShareAll, OPEN_EXISTING));
    EXPECT_FALSE(Valid(folder));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST_F(PlatformFiles, InvalidHandlesAreRefused) {
    char byte = 0;
    DWORD count = 0;
    for (HANDLE bad : {INVALID_HANDLE_VALUE, static_cast<HANDLE>(nullptr)}) {
        EXPECT_TRUE(
            FailsWith(ERROR_INVALID_HANDLE, [&] { return ReadFile(bad, &byte, 1, &count); }));
        EXPECT_TRUE(
            FailsWith(ERROR_INVALID_HANDLE, [&] { return WriteFile(bad, &byte, 1, &count); }));
        EXPECT_TRUE(FailsWith(ERROR_INVALID_HANDLE, [&] { return CloseHandle(bad); }));
        EXPECT_TRUE(FailsWith(ERROR_INVALID_HANDLE, [&] { return FlushFileBuffers(bad); }));
    }
}

TEST_F(PlatformFiles, DeleteRemovesOrSaysWhyNot) {
    const fs::path path = dir / "gone.txt";
    test::WriteFile(path, "x");
    EXPECT_TRUE(DeleteFileW(Wide(path).c_str()));
    EXPECT_FALSE(fs::exists(path));

    EXPECT_TRUE(FailsWith(ERROR_FILE_NOT_FOUND, [&] { return DeleteFileW(Wide(path).c_str()); }));

    EXPECT_TRUE(FailsWith(ERROR_PATH_NOT_FOUND,
                          [&] { return DeleteFileW(Wide(dir / "missing/gone.txt").c_str()); }));
}

struct BesideCase {
    const char* name;
    std::u16string target;  // in the test's folder
    std::u16string kept;    // what the name beside it starts with
};

class PlatformFileBeside : public PlatformFiles,
                           public ::testing::WithParamInterface<BesideCase> {};

TEST_P(PlatformFileBeside, IsNewPrivateHeldAndNamedAfterTheTarget) {
    const std::u16string target = Wide(dir.path() / fs::path(GetParam().target));
    std::u16string paths[2];
    const Handle first(CreateFileBeside(target.c_str(), paths[0]));
    const Handle second(CreateFileBeside(target.c_str(), paths[1]));
    ASSERT_TRUE(Valid(first) && Valid(second));
    EXPECT_NE(paths[0], paths[1]);
    for (const std::u16string& path : paths) {
        const std::u16string name = fs::path(path).filename().u16string();
        EXPECT_EQ(fs::path(path).parent_path(), dir.path());
        EXPECT_EQ(name.size(),
                  GetParam().kept.size() + std::u16string(u".caspo-.part").size() + 16);
        EXPECT_TRUE(name.starts_with(GetParam().kept + u".caspo-") && name.ends_with(u".part"));
        EXPECT_TRUE(test::OnlyItsOwnerMayOpen(path));
        const Handle other(Open(path, GENERIC_READ, kShareAll, OPEN_EXISTING));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    }
    EXPECT_FALSE(fs::exists(target));
}

std::vector<BesideCase> BesideCases() {
    const std::u16string longName(100, u'a');
    const std::u16string cutAtAPair = std::u16string(63, u'a') + u"\U0001F600b";
    const std::u16string pairFits = std::u16string(62, u'a') + u"\U0001F600b";
    return {{"ShortNameWhole", u"policy.xml", u"policy.xml"},
            {"LongNameCut", longName, longName.substr(0, kBesideNameKeep)},
            {"PairNotSplit", cutAtAPair, cutAtAPair.substr(0, 63)},
            {"PairKeptWhole", pairFits, pairFits.substr(0, 64)}};
}

INSTANTIATE_TEST_SUITE_P(Names, PlatformFileBeside, ::testing::ValuesIn(BesideCases()),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(PlatformFiles, FileBesideAMissingFolderIsPathNotFound) {
    std::u16string path;
    const Handle file(CreateFileBeside(Wide(dir / "missing/policy.xml").c_str(), path));
    EXPECT_FALSE(Valid(file));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_TRUE(path.empty());
}

enum class AtDestination { Nothing, File, LinkToFile, Folder };

struct MoveCase {
    const char* name;
    AtDestination there;
    DWORD flags;
    DWORD error;  // ERROR_SUCCESS: the move happens
};

class PlatformFileMoves : public PlatformFiles, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(PlatformFileMoves, ReplaceTheNameNeverWhatALinkNames) {
    const MoveCase& c = GetParam();
    const fs::path from = dir / "new.part";
    const fs::path to = dir / "target";
    test::WriteFile(from, "new");
    test::WriteFile(dir / "linked", "linked");
    switch (c.there) {
        case AtDestination::Nothing:
            break;
        case AtDestination::File:
            test::WriteFile(to, "old");
            break;
        case AtDestination::LinkToFile:
            if (!test::MakeSymlink("linked", to)) {
                GTEST_SKIP() << test::kNoSymlinks;
            }
            break;
        case AtDestination::Folder:
            fs::create_directory(to);
            break;
    }
    if (c.error == ERROR_SUCCESS) {
        EXPECT_TRUE(MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), c.flags));
        EXPECT_FALSE(fs::exists(from));
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(to)));
        EXPECT_EQ(test::ReadWholeFile(to), "new");
    } else {
        EXPECT_TRUE(FailsWith(
            c.error, [&] { return MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), c.flags); }));
        EXPECT_EQ(test::ReadWholeFile(from), "new");
    }
    EXPECT_EQ(test::ReadWholeFile(dir / "linked"), "linked");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlatformFileMoves,
    ::testing::Values(
        MoveCase{"OntoNothing", AtDestination::Nothing, 0, ERROR_SUCCESS},
        MoveCase{"OntoAFile", AtDestination::File, MOVEFILE_REPLACE_EXISTING, ERROR_SUCCESS},
        MoveCase{"OntoALink", AtDestination::LinkToFile, MOVEFILE_REPLACE_EXISTING, ERROR_SUCCESS},
        MoveCase{"OntoAFolder", AtDestination::Folder, MOVEFILE_REPLACE_EXISTING,
                 ERROR_ACCESS_DENIED},
        MoveCase{"OntoAFileWithoutReplacing", AtDestination::File, 0, ERROR_ALREADY_EXISTS},
        MoveCase{"WithUnknownFlags", AtDestination::Nothing, 0x10, ERROR_INVALID_PARAMETER}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(PlatformFiles, CreateDirectoryTreeMakesEveryMissingParent) {
    const fs::path nested = dir / "a/b/c";
    EXPECT_TRUE(CreateDirectoryTree(Wide(nested).c_str()));
    EXPECT_TRUE(fs::is_directory(nested));
    EXPECT_TRUE(CreateDirectoryTree(Wide(nested).c_str()));

    test::WriteFile(dir / "plain", "x");
    EXPECT_TRUE(FailsWith(ERROR_PATH_NOT_FOUND,
                          [&] { return CreateDirectoryTree(Wide(dir / "plain/sub").c_str()); }));
    EXPECT_TRUE(FailsWith(ERROR_ALREADY_EXISTS,
                          [&] { return CreateDirectoryTree(Wide(dir / "plain").c_str()); }));
}

}  // namespace
}  // namespace hvx::os
