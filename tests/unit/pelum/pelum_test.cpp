// pelum, loaded by name as the update client loads it: which documents it parses, and what it
// reads from them.
#include <gtest/gtest.h>

#include <memory>
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
        ASSERT_TRUE(m_module) << "libpelum.so did not load";
        const auto create = GetExport<CreateXMLClassInstanceFn>(m_module.get(), kCreateXmlSymbol);
        m_release = GetExport<ReleaseXMLClassInstanceFn>(m_module.get(), kReleaseXmlSymbol);
        ASSERT_NE(create, nullptr);
        ASSERT_NE(m_release, nullptr);
        reader = create();
        ASSERT_NE(reader, nullptr);
    }
    void TearDown() override { m_release(reader); }

    std::optional<std::u16string> Value(const char* path) const {
        char16_t* value = reader->GetValue(path);
        std::optional<std::u16string> copy;
        if (value != nullptr) {
            copy = value;
        }
        reader->FreeValue(value);
        return copy;
    }

    IXmlReader* reader = nullptr;

private:
    ModuleHandle m_module{os::LoadLibraryW(kXmlModule)};
    ReleaseXMLClassInstanceFn m_release = nullptr;
};

std::string Nested(std::size_t depth) {
    std::string text;
    for (std::size_t i = 0; i < depth; ++i) {
        text += "<e>";
    }
    for (std::size_t i = 0; i < depth; ++i) {
        text += "</e>";
    }
    return text;
}

TEST_F(PelumTest, OnlyPlainWellFormedUtf8DocumentsParse) {
    const std::string laughs =
        "<?xml version=\"1.0\"?><!DOCTYPE lolz [<!ENTITY lol \"lol\">"
        "<!ENTITY lol1 \"&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;\">"
        "<!ENTITY lol2 \"&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;\">]>"
        "<update><version>&lol2;</version></update>";
    struct Row {
        std::string name;
        std::string document;
        int parsed;
    };
    const Row rows[] = {
        {"plain", R"(<?xml version="1.0" encoding="UTF-8"?><!-- c --><update/>)", 1},
        {"UTF-8 text", "<update><n>caf\xc3\xa9</n></update>", 1},
        {"64 deep", Nested(64), 1},
        {"65 deep", Nested(65), 0},
        {"100000 deep", Nested(100000), 0},
        {"billion laughs", laughs, 0},
        {"external entity",
         "<!DOCTYPE u [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><update>&x;</update>", 0},
        {"not UTF-8", "<update><n>caf\xe9</n></update>", 0},
        {"overlong UTF-8", "<update><n>\xc0\xaf</n></update>", 0},
        {"mismatched tags", "<update><a></update>", 0},
        {"unclosed", "<update>", 0},
        {"two document elements", "<a/><b/>", 0},
        {"text beside the element", "junk<update/>", 0},
        {"no element", "<?xml version=\"1.0\"?>", 0},
        {"empty", "", 0},
        {"larger than 1 MiB", "<update>" + std::string(1 << 20, 'x') + "</update>", 0},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(reader->ParseDocument(row.document.c_str()), row.parsed) << row.name;
        EXPECT_EQ(Value("update").has_value(), row.parsed == 1 && row.name != "64 deep")
            << row.name << ": a refused document leaves nothing to read";
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
    EXPECT_EQ(reader->GetIntValue("update/big"), 0u);
    EXPECT_EQ(reader->GetIntValue("update/version"), 0u);
    EXPECT_EQ(reader->GetIntValue("update/none"), 0u);

    char16_t** masks = reader->GetValueList("update/mask");
    ASSERT_NE(masks, nullptr);
    std::vector<std::u16string> texts;
    for (char16_t** mask = masks; *mask != nullptr; ++mask) {
        texts.emplace_back(*mask);
    }
    reader->FreeValueList(masks);
    EXPECT_EQ(texts, (std::vector<std::u16string>{u"ab", u"c&d"}));
    EXPECT_EQ(reader->GetValueList("update/none"), nullptr);
}

}  // namespace
}  // namespace hvx::test
