// hvx::CProductInventoryHttp::Init and GetEndpoint: what the reports carry and where they go.
#include <array>
#include <cstdint>
#include <string>

#include "clients/inventory/product_inventory_http.h"
#include "platform/locale.h"
#include "siblings/venit/venit.h"
#include "support/config_access.h"
#include "support/config_keys.h"
#include "support/trace_levels.h"

namespace hvx {

namespace {

struct KindRoute {
    const char* endpointKey;
    const char16_t* fieldName;
};

constexpr std::array<KindRoute, 4> kKindRoutes = {{
    {keys::kInventoryProduct, u"set"},
    {keys::kInventoryProductDetails, u"data"},
    {keys::kInventoryUpdate, u"set"},
    {keys::kInventoryUpdateDetails, u"data"},
}};

std::u16string DecimalText(std::uint32_t value) {
    const std::string narrow = std::to_string(value);
    return {narrow.begin(), narrow.end()};
}

}  // namespace

HRESULT CProductInventoryHttp::Init() {
    if (FAILED(ReadConfigString(keys::kAgentUuid, m_agentGuid))) {
        error(
            "hvx::CProductInventoryHttp::Init : Failed to get agent guid for product inventory "
            "configuration.");
    }
    if (FAILED(ReadConfigString(keys::kBusinessUuid, m_businessGuid))) {
        error(
            "hvx::CProductInventoryHttp::Init : Failed to get business guid for product "
            "inventory configuration.");
    }
    const std::uint32_t lcid = os::GetUserDefaultLCID();
    m_userLangId = lcid != 0 ? DecimalText(lcid) : std::u16string();
    return S_OK;
}

HRESULT CProductInventoryHttp::GetEndpoint(std::uint32_t kind, std::u16string& endpoint,
                                           std::u16string& fieldName) {
    if (kind >= kKindRoutes.size()) {
        return E_FAIL;
    }
    const KindRoute& route = kKindRoutes.at(kind);
    fieldName = route.fieldName;
    const HRESULT hr = ReadConfigString2(route.endpointKey, endpoint);
    if (FAILED(hr)) {
        error(
            "hvx::CProductInventoryHttp::GetEndpoint : Failed to get product inventory endpoint.");
        return hr;
    }
    trace(kTraceGeneral, u"CProductInventoryHttp::GetEndpoint: product inventory endpoint: %s",
          endpoint);
    return S_OK;
}

}  // namespace hvx
