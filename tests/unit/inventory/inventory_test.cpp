// hvx::CProductInventoryHttp against the scripted engine: each kind's endpoint and field, and the
// answers that fail. Where the language identifier comes from is each system's own
// (inventory_posix_test.cpp, inventory_win32_test.cpp).
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "clients/inventory/product_inventory_http.h"
#include "platform/bstr.h"
#include "tests/support/client_test.h"
#include "tests/support/temp_dir.h"

namespace hvx::test {
namespace {

class InventoryTest : public ClientTest {
protected:
    InventoryTest() {
        store().PutWide(keys::kAgentUuid, u"agent42");
        store().PutWide(keys::kBusinessUuid, u"b-1");
        for (const char* kind : {"product", "product_details", "update", "update_details"}) {
            const std::string key = std::string("config/agent/kbt/endpoint/") + kind;
            store().PutWide(key,
                            u"https://kbt.example/" + std::u16string(key.begin() + 26, key.end()));
        }
    }
    // SendData's result; the status and answer land in `status` and `answer`.
    HRESULT Send(std::uint32_t kind) {
        BSTR response = nullptr;
        const HRESULT hr = client.SendData(kind, u"a b", &status, &response);
        answer = response != nullptr ? std::optional(os::BstrText(response)) : std::nullopt;
        os::SysFreeString(response);
        return hr;
    }

    // The language identifier the body carries: the client's, as text.
    std::string LangId() const { return {client.UserLangId().begin(), client.UserLangId().end()}; }

    CProductInventoryHttp client;
    std::uint32_t status = 0;
    std::optional<std::u16string> answer;
};

TEST_F(InventoryTest, EachKindGoesToItsEndpointInItsField) {
    ASSERT_EQ(client.Init(), S_OK);
    engines.script.body = "{\"received\":true}";
    const std::vector<std::pair<std::u16string, std::string>> kinds = {{u"product", "set"},
                                                                       {u"product_details", "data"},
                                                                       {u"update", "set"},
                                                                       {u"update_details", "data"}};
    for (std::uint32_t kind = 0; kind < kinds.size(); ++kind) {
        EXPECT_EQ(Send(kind), S_OK);
        EXPECT_EQ(LastTransfer().url, u"https://kbt.example/" + kinds[kind].first);
        EXPECT_EQ(LastTransfer().body, "ag=agent42&bg=b%2D1&user%5Flang%5Fid=" + LangId() + "&" +
                                           kinds[kind].second + "=a%20b");
        EXPECT_EQ(status, 200u);
        EXPECT_EQ(answer, u"{\"received\":true}");
    }
}

TEST_F(InventoryTest, MissingIdentifiersAreSentEmpty) {
    store().Erase(keys::kAgentUuid);
    store().Erase(keys::kBusinessUuid);
    EXPECT_EQ(client.Init(), S_OK);
    EXPECT_EQ(log.Errors(),
              (std::vector<std::string>{"hvx::CProductInventoryHttp::Init : Failed to get agent "
                                        "guid for product inventory configuration.",
                                        "hvx::CProductInventoryHttp::Init : Failed to get "
                                        "business guid for product inventory configuration."}));
    ASSERT_EQ(Send(0), S_OK);
    EXPECT_EQ(LastTransfer().body, "ag=&bg=&user%5Flang%5Fid=" + LangId() + "&set=a%20b");
}

TEST_F(InventoryTest, FailuresLeaveTheOutputsUnwritten) {
    struct Row {
        std::function<void()> arrange;
        std::uint32_t kind;
        HRESULT expected;
        std::string error;
    };
    const std::string failed = "hvx::CProductInventoryHttp::SendData : http.";
    const Row rows[] = {
        {[] {}, 4, E_FAIL, ""},
        {[] { store().Erase(keys::kInventoryUpdate); }, 2, HVX_E_CONFIG_UNAVAILABLE,
         "hvx::CProductInventoryHttp::GetEndpoint : Failed to get product inventory endpoint."},
        {[] { store().PutWide(keys::kInventoryProduct, u"ftp://kbt.example/"); }, 0,
         HVX_E_URL_INVALID, failed + "Init failed [hr: 0xc1030002]"},
        {[this] { engines.script.body = ""; }, 1, HVX_E_NO_RESPONSE_BODY,
         failed + "MakeRequest failed [hr: 0xc1200021]"},
        {[this] { engines.script.body = "\xff\xfe"; }, 3, E_INVALIDARG,
         failed + "MakeRequest failed [hr: 0x80070057]"},
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
    engines.script.responseCode = 304;
    EXPECT_EQ(Send(3), S_OK);
    EXPECT_EQ(answer, u"") << "a 304 hands out an empty answer";
    EXPECT_EQ(client.SendData(2, nullptr, &status, nullptr), S_FALSE);
}

}  // namespace
}  // namespace hvx::test
