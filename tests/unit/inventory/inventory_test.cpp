// hvx::CProductInventoryHttp against the scripted engine: each kind's endpoint and field, the
// language identifier from the locale environment, and the answers that fail.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "clients/inventory/product_inventory_http.h"
#include "platform/bstr.h"
#include "tests/support/client_test.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wide.h"

namespace hvx::test {
namespace {

constexpr const char* kAgent = "agent42";

// The locale environment of one test: LC_ALL, LC_MESSAGES and LANG.
struct Locale {
    ScopedEnv all;
    ScopedEnv messages;
    ScopedEnv lang;
    Locale(const std::optional<std::string>& lcAll, const std::optional<std::string>& lcMessages,
           const std::optional<std::string>& language)
        : all("LC_ALL", lcAll), messages("LC_MESSAGES", lcMessages), lang("LANG", language) {}
};

class InventoryTest : public ClientTest {
protected:
    InventoryTest() {
        store().PutWide(keys::kAgentUuid, Wide(kAgent));
        store().PutWide(keys::kBusinessUuid, u"b-1");
        store().PutWide(keys::kInventoryProduct, u"https://kbt.example/product");
        store().PutWide(keys::kInventoryProductDetails, u"https://kbt.example/product_details");
        store().PutWide(keys::kInventoryUpdate, u"https://kbt.example/update");
        store().PutWide(keys::kInventoryUpdateDetails, u"https://kbt.example/update_details");
    }
    // SendData's result; the status and answer land in `status` and `answer`.
    HRESULT Send(std::uint32_t kind, const char16_t* data = u"a b") {
        BSTR response = nullptr;
        const HRESULT hr = client.SendData(kind, data, &status, &response);
        answer = response != nullptr ? std::optional<std::u16string>(response) : std::nullopt;
        os::SysFreeString(response);
        return hr;
    }

    Locale locale{std::nullopt, std::nullopt, "de_AT.UTF-8"};
    CProductInventoryHttp client;
    std::uint32_t status = 0;
    std::optional<std::u16string> answer;
};

struct KindRow {
    std::uint32_t kind;
    std::u16string url;
    std::string field;
};

class InventoryKind : public InventoryTest, public ::testing::WithParamInterface<KindRow> {};

TEST_P(InventoryKind, GoesToItsEndpointInItsField) {
    ASSERT_EQ(client.Init(), S_OK);
    engines.script.body = "{\"received\":true}";
    EXPECT_EQ(Send(GetParam().kind), S_OK);
    EXPECT_EQ(LastTransfer().url, GetParam().url);
    EXPECT_EQ(LastTransfer().body, std::string("ag=") + kAgent +
                                       "&bg=b%2D1&user%5Flang%5Fid=3079&" + GetParam().field +
                                       "=a%20b");
    EXPECT_EQ(status, 200u);
    EXPECT_EQ(answer, u"{\"received\":true}");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, InventoryKind,
    ::testing::Values(KindRow{0, u"https://kbt.example/product", "set"},
                      KindRow{1, u"https://kbt.example/product_details", "data"},
                      KindRow{2, u"https://kbt.example/update", "set"},
                      KindRow{3, u"https://kbt.example/update_details", "data"}));

TEST_F(InventoryTest, TheLanguageComesFromTheLocaleEnvironment) {
    struct Row {
        std::optional<std::string> all, messages, lang;
        std::u16string expected;
    };
    const Row rows[] = {
        {std::nullopt, std::nullopt, "en_US.UTF-8", u"1033"},
        {"fr_CA.UTF-8", "de_DE.UTF-8", "en_US.UTF-8", u"3084"},
        {"", "pt_BR", "en_US", u"1046"},
        {std::nullopt, std::nullopt, "de_BE.UTF-8@euro", u"1031"},
        {std::nullopt, std::nullopt, "C.UTF-8", u""},
        {std::nullopt, std::nullopt, "xx_YY", u""},
        {std::nullopt, std::nullopt, std::nullopt, u""},
    };
    for (const Row& row : rows) {
        const Locale scoped(row.all, row.messages, row.lang);
        CProductInventoryHttp fresh;
        ASSERT_EQ(fresh.Init(), S_OK);
        EXPECT_EQ(fresh.UserLangId(), row.expected) << row.lang.value_or("(none)");
    }
}

TEST_F(InventoryTest, WithoutInitTheIdentityFieldsAreEmpty) {
    store().Erase(keys::kAgentUuid);
    store().Erase(keys::kBusinessUuid);
    EXPECT_EQ(client.Init(), S_OK);
    EXPECT_EQ(log.Errors(),
              (std::vector<std::string>{"hvx::CProductInventoryHttp::Init : Failed to get agent "
                                        "guid for product inventory configuration.",
                                        "hvx::CProductInventoryHttp::Init : Failed to get "
                                        "business guid for product inventory configuration."}));
    ASSERT_EQ(Send(0), S_OK);
    EXPECT_EQ(LastTransfer().body, "ag=&bg=&user%5Flang%5Fid=3079&set=a%20b");
}

TEST_F(InventoryTest, FailuresLeaveTheOutputsUnwritten) {
    struct Row {
        std::function<void()> arrange;
        std::uint32_t kind;
        HRESULT expected;
        std::string error;
    };
    const Row rows[] = {
        {[] {}, 4, E_FAIL, ""},
        {[] { store().Erase(keys::kInventoryUpdate); }, 2, HVX_E_CONFIG_UNAVAILABLE,
         "hvx::CProductInventoryHttp::GetEndpoint : Failed to get product inventory endpoint."},
        {[] { store().PutWide(keys::kInventoryProduct, u"ftp://kbt.example/"); }, 0,
         HVX_E_URL_INVALID,
         "hvx::CProductInventoryHttp::SendData : http.Init failed [hr: 0xc1030002]"},
        {[this] { engines.script.body = ""; }, 1, HVX_E_NO_RESPONSE_BODY,
         "hvx::CProductInventoryHttp::SendData : http.MakeRequest failed [hr: 0xc1200021]"},
        {[this] { engines.script.body = "\xff\xfe"; }, 3, E_INVALIDARG,
         "hvx::CProductInventoryHttp::SendData : http.MakeRequest failed [hr: 0x80070057]"},
    };
    for (const Row& row : rows) {
        row.arrange();
        log.Clear();
        status = 7;
        const int created = engines.created;
        EXPECT_EQ(Send(row.kind), row.expected) << row.error;
        EXPECT_EQ(status, 7u);
        EXPECT_EQ(answer, std::nullopt);
        EXPECT_EQ(log.HasError(row.error), !row.error.empty()) << row.error;
        if (row.kind == 4) {
            EXPECT_EQ(engines.created, created) << "kind 4 touches no network";
            EXPECT_TRUE(log.Records().empty());
        }
    }
}

TEST_F(InventoryTest, A304HandsOutAnEmptyAnswer) {
    engines.script.responseCode = 304;
    engines.script.body = "";
    EXPECT_EQ(Send(2), S_OK);
    EXPECT_EQ(status, 304u);
    EXPECT_EQ(answer, u"");
    EXPECT_EQ(client.SendData(2, nullptr, &status, nullptr), S_FALSE);
}

}  // namespace
}  // namespace hvx::test
