#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "siblings/venit/venit.h"
#include "tests/support/temp_dir.h"
#include "tests/unit/venit/log_fixture.h"

namespace {

using venit::RecordKind;
using namespace venit::test;

std::vector<std::string> FileLines(const fs::path& path) {
    return Lines(hvx::test::ReadWholeFile(path).value_or(""));
}

// "ERROR <text>" or "TRACE <text>" of a record line, after checking the time stamp and pid.
std::string Payload(const std::string& line) {
    static const std::regex kLineShape(
        R"(^\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\.\d{3} (\d+) \d+ (ERROR|TRACE) (.*)$)");
    std::smatch match;
    if (!std::regex_match(line, match, kLineShape)) {
        return "not a record line: " + line;
    }
    EXPECT_EQ(match[1].str(), std::to_string(::getpid()));
    return match[2].str() + " " + match[3].str();
}

TEST_F(LogTest, TraceLevelGating) {
    struct Case {
        std::uint64_t debugLevel;
        std::uint64_t traceLevel;
        bool written;
    };
    const Case cases[] = {
        {0, 0x1000, false},
        {0, kEveryLevel, false},
        {0x1000, 0x4000, false},
        {0x1000, 0x1000, true},
        {0x1000, 0x41000, true},
        {0x4000, kEveryLevel, true},
        {kEveryLevel, 0x40000000, true},
        {kEveryLevel, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.debugLevel) + " / " + std::to_string(c.traceLevel));
        venit::SetDebugLevel(c.debugLevel);
        venit::CaptureSink sink;
        trace(c.traceLevel, "formatted %d", 1);
        trace(c.traceLevel, u"wide %s", u"text");
        venit::WriteTrace(c.traceLevel, "ready-made");
        EXPECT_EQ(venit::TraceEnabled(c.traceLevel), c.written);
        const auto records = sink.Records();
        ASSERT_EQ(records.size(), c.written ? 3U : 0U);
        for (const auto& record : records) {
            EXPECT_EQ(record.kind, RecordKind::Trace);
            EXPECT_EQ(record.level, c.traceLevel);
        }
    }
}

TEST_F(LogTest, CaptureSinksReceiveExactTextsInOrder) {
    venit::SetDebugLevel(0x1000);
    venit::CaptureSink first;
    error("hvx::CHttpCurl::Init res: %d, option: %d", 0xC1030002u, 64);
    trace(0x1000, "trace %s", "one");
    {
        venit::CaptureSink second;
        error(u"wide %s 0x%08x", u"\u00e9t\u00e9", 0xC1050007u);
        ASSERT_EQ(second.Records().size(), 1U);
        EXPECT_EQ(second.Records()[0].text, "wide \xC3\xA9t\xC3\xA9 0xc1050007");
    }

    const auto records = first.Records();
    ASSERT_EQ(records.size(), 3U);
    EXPECT_EQ(records[0].kind, RecordKind::Error);
    EXPECT_EQ(records[0].level, 0U);
    EXPECT_EQ(records[0].text, "hvx::CHttpCurl::Init res: -1056767998, option: 64");
    EXPECT_EQ(records[1].kind, RecordKind::Trace);
    EXPECT_EQ(records[1].level, 0x1000U);
    EXPECT_EQ(records[1].text, "trace one");
    EXPECT_EQ(records[2].text, "wide \xC3\xA9t\xC3\xA9 0xc1050007");

    first.Clear();
    EXPECT_TRUE(first.Records().empty());
}

TEST_F(LogTest, ConcurrentWritersKeepEachThreadsOrder) {
    constexpr int kThreads = 4;
    constexpr int kRecords = 250;
    venit::CaptureSink sink;
    std::vector<std::thread> threads;
    threads.reserve(kThreads);
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t] {
            for (int n = 0; n < kRecords; ++n) {
                error("%d %d", t, n);
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    std::vector<int> next(kThreads, 0);
    const auto records = sink.Records();
    ASSERT_EQ(records.size(), static_cast<std::size_t>(kThreads * kRecords));
    for (const auto& record : records) {
        std::istringstream numbers(record.text);
        int t = -1;
        int n = -1;
        ASSERT_TRUE(numbers >> t >> n) << record.text;
        ASSERT_TRUE(t >= 0 && t < kThreads) << record.text;
        EXPECT_EQ(n, next[t]++);
    }
}

TEST_F(LogTest, FileLinesHaveTheRecordShape) {
    const std::string path = (m_dir / "nested" / "deeper" / "caspo.log").string();
    venit::SetLogFile(path);
    venit::SetDebugLevel(0x1000);
    error("first %d", 1);
    trace(0x1000, u"trace %s", u"wide");
    venit::Flush();

    EXPECT_EQ(venit::GetLogFile(), path);
    const auto lines = FileLines(path);
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_EQ(Payload(lines[0]), "ERROR first 1");
    EXPECT_EQ(Payload(lines[1]), "TRACE trace wide");
}

// A record is one line whatever its text holds, and no byte of it can drive a terminal: the
// file, stderr and the capture sinks all get the same escaped text. Stderr gets records only
// while it is asked for.
TEST_F(LogTest, ControlCharactersAreEscapedInEverySink) {
    struct Case {
        std::string text;
        std::string written;
    };
    const std::vector<Case> cases{
        {"line\r\nERROR forged", R"(line\x0d\x0aERROR forged)"},
        {"detail: \x1b[31mred\x1b[0m", R"(detail: \x1b[31mred\x1b[0m)"},
        {std::string("nul\0tab\tdel\x7f", 12), R"(nul\x00tab\x09del\x7f)"},
        {"csi \xc2\x9b"
         "2J, kept: \xc3\xa9 \\x41 \xc2",
         "csi \\xc2\\x9b2J, kept: \xc3\xa9 \\x41 \xc2"},
    };
    venit::CaptureSink sink;
    StderrCapture capture(m_dir / "stderr.txt");
    venit::SetLogToStderr(true);
    for (const auto& c : cases) {
        venit::WriteError(c.text);
    }
    venit::SetLogToStderr(false);
    venit::WriteError("not to stderr");
    const auto onStderr = Lines(capture.Finish());
    const auto inFile = FileLines(LogPath());
    const auto records = sink.Records();

    ASSERT_EQ(records.size(), cases.size() + 1);
    ASSERT_EQ(onStderr.size(), cases.size());
    ASSERT_EQ(inFile.size(), cases.size() + 1);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(records[i].text, cases[i].written);
        EXPECT_EQ(Payload(onStderr[i]), "ERROR " + cases[i].written);
        EXPECT_EQ(Payload(inFile[i]), "ERROR " + cases[i].written);
    }
}

TEST_F(LogTest, AFileThatCannotBeOpenedIsTurnedOffOnce) {
    hvx::test::WriteFile(m_dir / "blocker", "a file, not a folder");
    venit::SetLogFile((m_dir / "blocker" / "caspo.log").string());
    venit::CaptureSink sink;
    StderrCapture capture(m_dir / "stderr.txt");
    error("still captured %d", 1);
    error("still captured %d", 2);
    const auto said = Lines(capture.Finish());

    ASSERT_EQ(said.size(), 1U);
    EXPECT_EQ(said[0].rfind("venit: records are not written to a file: ", 0), 0U) << said[0];
    EXPECT_EQ(sink.Records().size(), 2U);
    EXPECT_EQ(venit::GetLogFile(), "");
}

// The record numbers in a log file, in file order.
std::vector<int> RecordNumbers(const fs::path& path) {
    std::vector<int> numbers;
    for (const auto& line : FileLines(path)) {
        std::istringstream payload(Payload(line));
        std::string kind;
        std::string rotation;
        std::string record;
        int number = -1;
        EXPECT_TRUE(payload >> kind >> rotation >> record >> number) << line;
        numbers.push_back(number);
    }
    return numbers;
}

TEST_F(LogTest, RotationKeepsTheConfiguredNumberOfFiles) {
    constexpr std::size_t kMaxBytes = 300;
    constexpr int kRecords = 30;
    venit::SetLogRotation(kMaxBytes, 3);
    for (int n = 0; n < kRecords; ++n) {
        error("rotation record %d, padded to make the line longer", n);
    }
    venit::Flush();

    EXPECT_FALSE(fs::exists(m_dir / "caspo.3.log"));
    std::vector<int> numbers;
    for (const char* name : {"caspo.2.log", "caspo.1.log", "caspo.log"}) {
        const fs::path file = m_dir / name;
        ASSERT_TRUE(fs::exists(file)) << name;
        EXPECT_LE(fs::file_size(file), kMaxBytes) << name;
        const auto inFile = RecordNumbers(file);
        EXPECT_FALSE(inFile.empty()) << name;
        numbers.insert(numbers.end(), inFile.begin(), inFile.end());
    }
    // Oldest to newest, nothing lost between the kept files, the newest record last.
    ASSERT_FALSE(numbers.empty());
    EXPECT_EQ(numbers.back(), kRecords - 1);
    for (std::size_t i = 1; i < numbers.size(); ++i) {
        EXPECT_EQ(numbers[i], numbers[i - 1] + 1);
    }
}

TEST_F(LogTest, ReadyMadeRecordsAndTheDebugLevel) {
    venit::CaptureSink sink;
    venit::SetDebugLevel(0);
    _log_error(0, "ready-made error", nullptr);
    _log_error(0, nullptr, nullptr);
    _log_trace("written whatever the level");
    EXPECT_EQ(getDebugLevel(), 0U);
    venit::SetDebugLevel(0x40001000);
    EXPECT_EQ(getDebugLevel(), 0x40001000U);

    const auto records = sink.Records();
    ASSERT_EQ(records.size(), 3U);
    EXPECT_EQ(records[0].kind, RecordKind::Error);
    EXPECT_EQ(records[0].text, "ready-made error");
    EXPECT_EQ(records[1].text, "(null)");
    EXPECT_EQ(records[2].kind, RecordKind::Trace);
    EXPECT_EQ(records[2].level, kEveryLevel);
    EXPECT_EQ(records[2].text, "written whatever the level");
}

}  // namespace
