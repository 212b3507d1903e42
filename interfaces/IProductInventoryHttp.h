// IProductInventoryHttp: product and update inventory reports, handed out by
// GetIProductInventoryHttp and destroyed only by ReleaseIProductInventoryHttp. The virtual
// operations are in the slot order callers rely on (the destructor last); do not reorder them.
#pragma once

#include <cstdint>

#include "interfaces/hvx_types.h"

namespace hvx {

// The kinds of report, each with its endpoint key and the form field that carries the data.
enum InventoryKind : std::uint32_t {
    kInventoryProduct = 0,         // "config/agent/kbt/endpoint/product", field "set"
    kInventoryProductDetails = 1,  // ".../product_details", field "data"
    kInventoryUpdate = 2,          // ".../update", field "set"
    kInventoryUpdateDetails = 3,   // ".../update_details", field "data"
};

class IProductInventoryHttp {
public:
    // Reads the agent and business identifiers and the user's language identifier once; a
    // missing value is logged and sent empty. Always 0.
    virtual HRESULT Init() = 0;
    // POSTs "ag", "bg", "user_lang_id" and the data (the kind's field) to the kind's endpoint.
    // On success `status` holds the HTTP status and `response` a new BSTR with the answer (empty
    // for a 304), which the caller frees with SysFreeString; on failure neither is written.
    //   E_FAIL: a kind above 3 (nothing is read or sent).
    //   HVX_E_CONFIG_UNAVAILABLE: the kind's endpoint is not configured.
    //   E_INVALIDARG: the answer is not UTF-8.
    //   S_FALSE: `data`, `status` or `response` is null.
    //   Otherwise the result of the session's Init or of the request (HVX_E_NO_RESPONSE_BODY for
    //   a 200 without body).
    virtual HRESULT SendData(std::uint32_t kind, const char16_t* data, std::uint32_t* status,
                             BSTR* response) = 0;
    virtual ~IProductInventoryHttp() = default;

protected:
    IProductInventoryHttp() = default;
    IProductInventoryHttp(const IProductInventoryHttp&) = default;
    IProductInventoryHttp& operator=(const IProductInventoryHttp&) = default;
    IProductInventoryHttp(IProductInventoryHttp&&) = default;
    IProductInventoryHttp& operator=(IProductInventoryHttp&&) = default;
};

}  // namespace hvx
