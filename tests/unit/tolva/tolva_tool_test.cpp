// caspo-config, run as the built program: JSON import and export, and its error exits.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/unit/tolva/tolva_fixture.h"

namespace tolva::test {
namespace {

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// What the program wrote, read as text: lines end in LF here whatever the system's line end is
// (the program writes CR LF on Windows, as its C runtime does for text).
std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class ToolTest : public StoreTest {
protected:
    // Runs caspo-config on the test's store with `args`, capturing both output streams.
    ToolRun Run(std::vector<std::string> args) const {
        args.insert(args.begin(), {CASPO_CONFIG_PROGRAM, "--store", StorePath()});
        const auto outPath = m_dir / "out.txt";
        const auto errPath = m_dir / "err.txt";
        ToolRun run;
        {
            hvx::test::ChildProcess tool(CASPO_CONFIG_PROGRAM, args, {outPath, errPath});
            run.exitCode = tool.Wait();
        }
        run.out = ReadText(outPath);
        run.err = ReadText(errPath);
        return run;
    }

    std::string WriteJson(const std::string& name, const std::string& json) const {
        const auto path = m_dir / name;
        hvx::test::WriteFile(path, json);
        return path.string();
    }
};

std::string JsonText(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        escaped += c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return escaped;
}

TEST_F(ToolTest, ExportWritesBackWhatImportReadWithEveryType) {
    const std::string pem = MakeCertificatePem("tool");
    const std::string exported =
        "{\n"
        "  \"config/a/cert\" : \n"
        "  {\n"
        "    \"type\" : \"cert\",\n"
        "    \"value\" : \"" +
        JsonText(pem) +
        "\"\n"
        "  },\n"
        "  \"config/a/narrow\" : \n"
        "  {\n"
        "    \"type\" : \"narrow\",\n"
        "    \"value\" : \"caf\u00e9\"\n"
        "  },\n"
        "  \"config/a/number\" : 30,\n"
        "  \"config/a/spelt\" : 4294967295,\n"
        "  \"config/a/wide\" : \"h\u00e9llo\"\n"
        "}\n";
    const std::string input = WriteJson("in.json", R"({
        "config/a/wide": "h\u00e9llo", "config/a/number": 30,
        "config/a/spelt": {"type": "dword", "value": "0xFFFFFFFF"},
        "config/a/narrow": {"type": "narrow", "value": "caf\u00e9"},
        "config/a/cert": {"type": "cert", "value": ")" +
                                                       JsonText(pem) + R"("},
        "config/b": "outside the prefix"})");

    EXPECT_EQ(Run({"import", input}).exitCode, 0);
    const ToolRun exportRun = Run({"export", "config/a/"});
    EXPECT_EQ(exportRun.exitCode, 0);
    EXPECT_EQ(exportRun.out, exported);
    EXPECT_EQ(exportRun.err, "");

    auto config = Open();
    EXPECT_EQ(config->GetDword("config/a/number"), 30U);
    EXPECT_EQ(config->Store().Find("config/a/narrow")->type, ValueType::Narrow);
    ASSERT_EQ(config->DeleteKey("config/a", 1), 1);
    ASSERT_EQ(config->Save(0), 1);
    EXPECT_EQ(Run({"import", WriteJson("again.json", exportRun.out)}).exitCode, 0);
    EXPECT_EQ(Run({"export", "config/a/"}).out, exported);
}

struct ErrorCase {
    const char* name;
    std::vector<std::string> args;
    std::string message;
    std::string json = R"({"config/x": -1})";  // the content of BAD_JSON
};

void PrintTo(const ErrorCase& errorCase, std::ostream* out) {
    *out << errorCase.name;
}

class ToolErrorTest : public ToolTest, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(ToolErrorTest, ExitsWithOneLineOnStandardError) {
    WriteJson("bad.json", GetParam().json);
    ASSERT_EQ(Run({"set", "config/present", "1", "--type", "dword"}).exitCode, 0);
    // BAD_JSON stands for the file, in the arguments and in the message.
    const auto expand = [this](std::string text) {
        const auto at = text.find("BAD_JSON");
        return at == std::string::npos ? text : text.replace(at, 8, (m_dir / "bad.json").string());
    };
    std::vector<std::string> args;
    for (const auto& arg : GetParam().args) {
        args.push_back(expand(arg));
    }
    const ToolRun run = Run(args);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "caspo-config: " + expand(GetParam().message) + "\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(Open()->GetDword("config/present"), 1U);
}

INSTANTIATE_TEST_SUITE_P(
    Tolva, ToolErrorTest,
    ::testing::Values(
        ErrorCase{"UnknownCommand", {"frobnicate"}, "unknown command frobnicate (try --help)"},
        ErrorCase{"AbsentKey", {"get", "config/absent"}, "key config/absent is absent"},
        ErrorCase{"BadKey", {"delete", "settings/x"}, "bad key \"settings/x\" (not under config/)"},
        ErrorCase{"BadNumber",
                  {"set", "config/present", "4294967296", "--type", "dword"},
                  "bad value for config/present: not a number from 0 to 4294967295"},
        ErrorCase{"BadCertificate",
                  {"set", "config/c", "not pem", "--type", "cert"},
                  "bad value for config/c: not PEM certificates"},
        ErrorCase{"BadJsonValue",
                  {"import", "BAD_JSON"},
                  "BAD_JSON: bad value for config/x: not a JSON string or a number from 0 to "
                  "4294967295"},
        ErrorCase{"DeeplyNestedJson",
                  {"import", "BAD_JSON"},
                  "BAD_JSON: not valid JSON: Exceeded stackLimit in readValue().",
                  std::string(20, '[')},
        ErrorCase{"NulInImportedKey",
                  {"import", "BAD_JSON"},
                  R"(BAD_JSON: bad key "config/a\x00b" (control character))",
                  R"({"config/a\u0000b": 1})"}),
    [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace tolva::test
