// hvx::CProductInventoryHttp: inventory reports (IProductInventoryHttp). Init reads the agent's
// identifiers and language once; every SendData builds a session of its own and destroys it
// before returning.
#pragma once

#include <cstdint>
#include <string>

#include "interfaces/IProductInventoryHttp.h"

namespace hvx {

class CProductInventoryHttp final : public IProductInventoryHttp {
public:
    CProductInventoryHttp() = default;
    ~CProductInventoryHttp() override = default;
    CProductInventoryHttp(const CProductInventoryHttp&) = delete;
    CProductInventoryHttp& operator=(const CProductInventoryHttp&) = delete;
    CProductInventoryHttp(CProductInventoryHttp&&) = delete;
    CProductInventoryHttp& operator=(CProductInventoryHttp&&) = delete;

    HRESULT Init() override;
    HRESULT SendData(std::uint32_t kind, const char16_t* data, std::uint32_t* status,
                     BSTR* response) override;

    // The kind's endpoint (from the store) and the form field of its data. E_FAIL for a kind
    // above 3, with nothing read; HVX_E_CONFIG_UNAVAILABLE when the endpoint is not configured.
    [[nodiscard]] static HRESULT GetEndpoint(std::uint32_t kind, std::u16string& endpoint,
                                             std::u16string& fieldName);

    const std::u16string& AgentGuid() const { return m_agentGuid; }
    const std::u16string& BusinessGuid() const { return m_businessGuid; }
    const std::u16string& UserLangId() const { return m_userLangId; }

private:
    std::u16string m_agentGuid;
    std::u16string m_businessGuid;
    std::u16string m_userLangId;
};

}  // namespace hvx
