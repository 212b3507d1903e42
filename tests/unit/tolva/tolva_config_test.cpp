// The IConfig contract of tolva's store: typed values, add/set rules, subtrees, the saved and
// local layers, bad input, certificates, and the exported factory.
#include <openssl/x509.h>

#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

#include "platform/module.h"
#include "siblings/tolva/tolva.h"
#include "tests/unit/tolva/tolva_fixture.h"

namespace tolva::test {
namespace {

using ConfigReadsTest = StoreTest;

TEST_F(ConfigReadsTest, TextsConvertBetweenWidthsAndNumbersStayNumbers) {
    auto config = Open();
    ASSERT_EQ(config->AddString("config/t/wide", u"h\u00e9llo \u2603", 1), 1);
    config->Store().Put("config/t/narrow", Value::Narrow("caf\u00e9"), Persist::Saved);
    ASSERT_EQ(config->AddDword("config/t/number", 30, 1), 1);

    EXPECT_EQ(WideOf(*config, "config/t/wide"), u"h\u00e9llo \u2603");
    EXPECT_EQ(NarrowOf(*config, "config/t/wide"), "h\u00e9llo \u2603");
    EXPECT_EQ(WideOf(*config, "config/t/narrow"), u"caf\u00e9");
    EXPECT_EQ(NarrowOf(*config, "config/t/narrow"), "caf\u00e9");
    EXPECT_EQ(WideOf(*config, "config/t/wide", &hvx::IConfig::GetString2), u"h\u00e9llo \u2603");

    EXPECT_EQ(config->GetDword("config/t/number"), 30U);
    EXPECT_EQ(config->GetDword2("config/t/number"), 30U);
    EXPECT_EQ(config->GetDword("config/t/wide"), hvx::kConfigAbsent);
    EXPECT_EQ(WideOf(*config, "config/t/number"), std::nullopt);
    EXPECT_EQ(NarrowOf(*config, "config/t/number"), std::nullopt);
    EXPECT_EQ(config->GetDword("config/t/missing"), hvx::kConfigAbsent);
    EXPECT_TRUE(m_log.Errors().empty());
}

TEST_F(ConfigReadsTest, NumberAllOnesReadsAsAbsentAndCanBeAdded) {
    auto config = Open();
    ASSERT_EQ(config->AddDword("config/t/n", hvx::kConfigAbsent, 1), 1);
    EXPECT_EQ(config->Exists("config/t/n"), 0);
    EXPECT_EQ(config->SetDword("config/t/n", 5, 1), 0);
    EXPECT_EQ(config->AddDword("config/t/n", 5, 1), 1);
    EXPECT_EQ(config->Exists("config/t/n"), 1);
    EXPECT_EQ(config->GetDword("config/t/n"), 5U);
}

TEST_F(ConfigReadsTest, SetNeedsAnExistingKeyAndAddANewOne) {
    auto config = Open();
    EXPECT_EQ(config->SetString("config/k", u"a", 1), 0);
    EXPECT_EQ(config->SetDword("config/n", 1, 1), 0);
    EXPECT_EQ(config->Exists("config/k"), 0);
    EXPECT_EQ(config->AddString("config/k", u"a", 1), 1);
    EXPECT_EQ(config->AddString("config/k", u"b", 1), 0);
    EXPECT_EQ(config->AddDword("config/k", 7, 1), 0);
    EXPECT_EQ(WideOf(*config, "config/k"), u"a");
    EXPECT_EQ(config->SetString("config/k", u"c", 1), 1);
    EXPECT_EQ(WideOf(*config, "config/k"), u"c");
    EXPECT_EQ(config->SetDword("config/k", 9, 1), 1);
    EXPECT_EQ(config->GetDword("config/k"), 9U);

    // Replacing narrow text keeps it narrow.
    config->Store().Put("config/narrow", Value::Narrow("x"), Persist::Saved);
    EXPECT_EQ(config->SetString("config/narrow", u"y", 1), 1);
    EXPECT_EQ(config->Store().Find("config/narrow"), Value::Narrow("y"));
}

TEST_F(ConfigReadsTest, DeleteKeyRemovesTheSubtreeAndNothingBeside) {
    auto config = Open();
    for (const char* key : {"config/a", "config/a/x", "config/a/y/z", "config/ab", "config/a-b"}) {
        ASSERT_EQ(config->AddDword(key, 1, 1), 1) << key;
    }
    ASSERT_EQ(config->Save(0), 1);
    EXPECT_EQ(config->DeleteKey("config/a", 1), 1);
    EXPECT_EQ(config->DeleteKey("config/a", 1), 0);
    ASSERT_EQ(config->Save(0), 1);

    const std::vector<Entry> expected{{"config/a-b", Value::Dword(1)},
                                      {"config/ab", Value::Dword(1)}};
    EXPECT_EQ(config->Store().List("config/"), expected);
    EXPECT_EQ(Open()->Store().List("config/"), expected);
}

using ConfigLayersTest = StoreTest;

TEST_F(ConfigLayersTest, LoadKeepsUnsavedAndLocalChangesOnTopOfTheFile) {
    auto first = Open();
    auto second = Open();
    ASSERT_EQ(first->AddDword("config/unsaved", 1, 1), 1);
    ASSERT_EQ(first->AddDword("config/local", 2, 0), 1);
    ASSERT_EQ(second->AddDword("config/other", 3, 1), 1);
    ASSERT_EQ(second->Save(0), 1);

    ASSERT_EQ(first->Load(0), 1);
    EXPECT_EQ(first->GetDword("config/unsaved"), 1U);
    EXPECT_EQ(first->GetDword("config/local"), 2U);
    EXPECT_EQ(first->GetDword("config/other"), 3U);
    ASSERT_EQ(first->Save(0), 1);

    auto third = Open();
    EXPECT_EQ(third->GetDword("config/unsaved"), 1U);
    EXPECT_EQ(third->GetDword("config/other"), 3U);
    EXPECT_EQ(third->Exists("config/local"), 0);
    ASSERT_EQ(first->Load(0), 1);
    EXPECT_EQ(first->GetDword("config/local"), 2U);
}

TEST_F(ConfigLayersTest, LocalDeletionHidesSavedValuesOnlyInThisObject) {
    auto first = Open();
    ASSERT_EQ(first->AddDword("config/tree/a", 1, 1), 1);
    ASSERT_EQ(first->Save(0), 1);
    ASSERT_EQ(first->DeleteKey("config/tree", 0), 1);
    ASSERT_EQ(first->AddDword("config/tree/b", 2, 1), 1);
    ASSERT_EQ(first->Save(0), 1);
    ASSERT_EQ(first->Load(0), 1);
    EXPECT_EQ(first->Exists("config/tree/a"), 0);
    EXPECT_EQ(first->GetDword("config/tree/b"), 2U);

    auto second = Open();
    EXPECT_EQ(second->GetDword("config/tree/a"), 1U);
    EXPECT_EQ(second->GetDword("config/tree/b"), 2U);
}

TEST_F(ConfigLayersTest, ThreadsSharingOneObjectLoseNoWrite) {
    auto config = Open();
    constexpr int kThreads = 4;
    constexpr int kKeysEach = 200;
    std::vector<std::thread> threads;
    threads.reserve(kThreads);
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&config, t] {
            for (int i = 0; i < kKeysEach; ++i) {
                const std::string key = "config/t" + std::to_string(t) + "/k" + std::to_string(i);
                static_cast<void>(config->AddDword(key.c_str(), i, 1));
                static_cast<void>(config->GetDword(key.c_str()));
            }
            static_cast<void>(config->Load(0));
            static_cast<void>(config->Save(0));
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(Open()->Store().List("config/").size(), std::size_t{kThreads} * kKeysEach);
}

struct BadInputCase {
    const char* name;
    std::function<bool(hvx::IConfig&)> refused;  // true when the call gave its failure result
    const char* record;
};

void PrintTo(const BadInputCase& badInput, std::ostream* out) {
    *out << badInput.name;
}

class ConfigBadInputTest : public StoreTest, public ::testing::WithParamInterface<BadInputCase> {};

TEST_P(ConfigBadInputTest, IsRefusedWithAnErrorRecordAndLosesNothing) {
    auto config = Open();
    ASSERT_EQ(config->AddString("config/x", u"kept", 1), 1);
    m_log.Clear();
    EXPECT_TRUE(GetParam().refused(*config));
    EXPECT_EQ(m_log.Errors(), std::vector<std::string>{GetParam().record});
    EXPECT_EQ(WideOf(*config, "config/x"), u"kept");
}

const char16_t kLoneSurrogate[] = {u'a', static_cast<char16_t>(0xD800), u'\0'};

INSTANTIATE_TEST_SUITE_P(
    Tolva, ConfigBadInputTest,
    ::testing::Values(
        BadInputCase{"NullKey", [](hvx::IConfig& c) { return c.AddString(nullptr, u"v", 1) == 0; },
                     "tolva::CConfig::AddString: bad key \"(null)\" (null)"},
        BadInputCase{"EmptyKey", [](hvx::IConfig& c) { return c.GetString("") == nullptr; },
                     "tolva::CConfig::GetString: bad key \"\" (empty)"},
        BadInputCase{"OutsideRoot",
                     [](hvx::IConfig& c) { return c.GetDword("other/x") == hvx::kConfigAbsent; },
                     "tolva::CConfig::GetDword: bad key \"other/x\" (not under config/)"},
        BadInputCase{"RootOnly", [](hvx::IConfig& c) { return c.DeleteKey("config/", 1) == 0; },
                     "tolva::CConfig::DeleteKey: bad key \"config/\" (empty part)"},
        BadInputCase{"ControlCharacterInKey",
                     [](hvx::IConfig& c) { return c.AddDword("config/a\x1b[2Jb", 1, 1) == 0; },
                     R"(tolva::CConfig::AddDword: bad key "config/a\x1b[2Jb" (control character))"},
        BadInputCase{"NullValue",
                     [](hvx::IConfig& c) { return c.SetString("config/x", nullptr, 1) == 0; },
                     "tolva::CConfig::SetString: null value for config/x"},
        BadInputCase{
            "InvalidUtf16",
            [](hvx::IConfig& c) { return c.SetString("config/x", kLoneSurrogate, 1) == 0; },
            "tolva::CConfig::SetString: the value for config/x is not valid UTF-16"},
        BadInputCase{"NullCertificateOutput",
                     [](hvx::IConfig& c) {
                         return c.GetCertificates("config/x", nullptr, nullptr) == E_INVALIDARG;
                     },
                     "tolva::CConfig::GetCertificates: null output argument for config/x"}),
    [](const auto& test) { return std::string(test.param.name); });

using Names = std::vector<std::string>;

// The result, and the common names of what was handed out (then handed back).
std::pair<int, Names> Read(hvx::IConfig& config, const char* key) {
    X509** certs = nullptr;
    std::uint32_t count = 0;
    const int result = config.GetCertificates(key, &certs, &count);
    Names names;
    for (std::uint32_t i = 0; i < count; ++i) {
        names.push_back(CommonName(certs[i]));
    }
    config.FreeCertificates(certs, count);
    return {result, names};
}

using ConfigCertificatesTest = StoreTest;

TEST_F(ConfigCertificatesTest, ListsRoundTripThroughTheFile) {
    const std::string pem = MakeCertificatePem("first") + MakeCertificatePem("second");
    auto writer = Open();
    writer->Store().Put("config/trust/cert", Value::Cert(pem), Persist::Saved);
    ASSERT_EQ(writer->AddString("config/trust/wide", u"", 1), 1);
    ASSERT_EQ(writer->Save(0), 1);

    auto reader = Open();
    EXPECT_EQ(Read(*reader, "config/trust/cert"), std::make_pair(0, Names{"first", "second"}));
    EXPECT_EQ(Read(*reader, "config/trust/absent"), std::make_pair(0, Names{}));
    EXPECT_EQ(Read(*reader, "config/trust/wide"), std::make_pair(0, Names{}));
    EXPECT_TRUE(m_log.Errors().empty());
}

TEST_F(ConfigCertificatesTest, DamagedTextGivesFailureAndWhatParsedBeforeIt) {
    const std::string damaged = MakeCertificatePem("good") +
                                "-----BEGIN CERTIFICATE-----\nnot base64!\n"
                                "-----END CERTIFICATE-----\n" +
                                MakeCertificatePem("after");
    auto config = Open();
    ASSERT_EQ(config->AddString("config/pem", u"no certificate here", 1), 1);
    config->Store().Put("config/damaged", Value::Cert(damaged), Persist::Saved);
    ASSERT_EQ(config->AddDword("config/number", 1, 1), 1);

    EXPECT_EQ(Read(*config, "config/damaged"), std::make_pair(int{E_FAIL}, Names{"good"}));
    EXPECT_EQ(Read(*config, "config/pem"), std::make_pair(int{E_FAIL}, Names{}));
    EXPECT_EQ(Read(*config, "config/number"), std::make_pair(int{E_FAIL}, Names{}));
    EXPECT_TRUE(m_log.HasError(
        "tolva::CConfig::GetCertificates: config/damaged holds text that is not a PEM "
        "certificate list"));
    EXPECT_TRUE(m_log.HasError(
        "tolva::CConfig::GetCertificates: config/number holds a number, not certificates"));
}

TEST_F(StoreTest, SharedLibraryExportsTheFactoryAndThePathSetting) {
    HMODULE module = hvx::os::LoadLibraryW(u"tolva.dll");
    ASSERT_NE(module, nullptr);
    const auto create = reinterpret_cast<hvx::CreateConfigClassInstanceFn>(
        hvx::os::GetProcAddress(module, "CreateConfigClassInstance"));
    const auto setPath = reinterpret_cast<decltype(&TolvaSetStorePath)>(
        hvx::os::GetProcAddress(module, "TolvaSetStorePath"));
    ASSERT_NE(create, nullptr);
    ASSERT_NE(setPath, nullptr);

    setPath(StorePath().c_str());
    std::unique_ptr<hvx::IConfig> config(create());
    setPath(nullptr);
    ASSERT_NE(config, nullptr);
    ASSERT_EQ(config->Load(0), 1);
    ASSERT_EQ(config->AddDword("config/from/module", 7, 1), 1);
    ASSERT_EQ(config->Save(0), 1);
    EXPECT_EQ(WideOf(*config, "config/from/module"), std::nullopt);
    char16_t* version = config->GetProductVersion();
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(std::u16string(version), u"" CASPO_PRODUCT_VERSION);
    config->FreeString(version);
    config.reset();
    hvx::os::FreeLibrary(module);

    EXPECT_EQ(Open()->GetDword("config/from/module"), 7U);
}

}  // namespace
}  // namespace tolva::test
