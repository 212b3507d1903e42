// GetLastTransferErrorText: why the caller's last request failed, in the engine's words.
#include "interfaces/caspo.h"
#include "platform/bstr.h"
#include "session/last_transfer_error.h"

extern "C" {

CASPO_API BSTR GetLastTransferErrorText() {
    const std::u16string& text = hvx::session::LastTransferError();
    if (text.empty()) {
        return nullptr;
    }
    return hvx::os::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

}  // extern "C"
