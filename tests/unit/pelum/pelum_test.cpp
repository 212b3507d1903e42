// pelum, loaded by name as the update client loads it: which documents it parses, and what it
// reads from them.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "interfaces/IXmlReader.h"
#include "support/module_handle.h"

namespace hvx::test {
namespace {

class PelumTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto create = GetExport<CreateXMLClassInstanceFn>(module.get(), kCreateXmlSymbol);
        release = GetExport<ReleaseXMLClassInstanceFn>(module.get(), kReleaseXmlSymbol);
        ASSERT_TRUE(create != nullptr && release != nullptr) << "libpelum.so did not load";
        reader = create();
    }
    void TearDown() override { release(reader); }

    std::optional<std::u16string> Value(const char* path) const {
        char16_t* value = reader->GetValue(path);
        const auto copy = value ? std::optional<std::u16string>(value) : std::nullopt;
        reader->FreeValue(value);
        return copy;
    }

    ModuleHandle module{os::LoadLibraryW(kXmlModule)};
    ReleaseXMLClassInstanceFn release = nullptr;
    IXmlReader* reader = nullptr;
};

std::string Nested(std::size_t depth) {
    std::string open;
    std::string close;
    for (std::size_t i = 0; i < depth; ++i) {
        open += "<e>";
        close += "</e>";
    }
    return open + close;
}

TEST_F(PelumTest, OnlyPlainWellFormedUtf8DocumentsParse) {
    const std::string laughs =
        "<!DOCTYPE l [<!ENTITY a \"lol\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
        "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">]><update><version>&c;</version></update>";
    const std::vector<std::pair<std::string, int>> rows = {
        {R"(<?xml version="1.0" encoding="UTF-8"?><!-- c --><update/>)", 1},
        {"<update><n>caf\xc3\xa9</n></update>", 1},
        {Nested(64), 1},
        {Nested(65), 0},
        {Nested(100000), 0},
        {laughs, 0},
        {R"(<!DOCTYPE u [<!ENTITY x SYSTEM "file:///etc/passwd">]><update>&x;</update>)", 0},
        {"<update><n>caf\xe9</n></update>", 0},
        {"<update><n>\xc0\xaf</n></update>", 0},
        {"<update><a></update>", 0},
        {"<update>", 0},
        {"<a/><b/>", 0},
        {"junk<update/>", 0},
        {R"(<?xml version="1.0"?>)", 0},
        {"", 0},
        {"<update>" + std::string(1 << 20, 'x') + "</update>", 0},
    };
    for (const auto& [document, parsed] : rows) {
        EXPECT_EQ(reader->ParseDocument(document.c_str()), parsed) << document.substr(0, 80);
        EXPECT_EQ(Value("update").has_value(), parsed == 1 && !document.starts_with("<e>"))
            << "a refused document leaves nothing to read";
    }
    EXPECT_EQ(reader->ParseDocument(nullptr), 0);
}

TEST_F(PelumTest, ValuesAreReadByPath) {
    ASSERT_EQ(reader->ParseDocument("<update><version>6.6.0</version><mask>ab</mask><x/>"
                                    "<mask>c&amp;d</mask><type> 7 </type><big>4294967296</big>"
                                    "<n>caf\xc3\xa9</n></update>"),
              1);
    EXPECT_EQ(Value("update/version"), u"6.6.0");
    EXPECT_EQ(Value("update/n"), u"caf\u00e9");
    EXPECT_EQ(Value("update/x"), u"");
    EXPECT_EQ(Value("update/none"), std::nullopt);
    EXPECT_EQ(Value("version"), std::nullopt) << "paths start at the document element";
    EXPECT_EQ(reader->GetIntValue("update/type"), 7u);
    for (const char* zero : {"update/big", "update/version", "update/none"}) {
        EXPECT_EQ(reader->GetIntValue(zero), 0u) << zero;
    }
    char16_t** masks = reader->GetValueList("update/mask");
    ASSERT_NE(masks, nullptr);
    EXPECT_EQ((std::vector<std::u16string>{masks[0], masks[1]}),
              (std::vector<std::u16string>{u"ab", u"c&d"}));
    EXPECT_EQ(masks[2], nullptr);
    reader->FreeValueList(masks);
    EXPECT_EQ(reader->GetValueList("update/none"), nullptr);
}

}  // namespace
}  // namespace hvx::test
