// The OLE automation allocator itself, so that a BSTR handed out can be freed by any component.
#include "platform/bstr.h"

namespace hvx::os {

BSTR SysAllocString(const char16_t* text) {
    return ::SysAllocString(reinterpret_cast<const OLECHAR*>(text));
}

BSTR SysAllocStringLen(const char16_t* text, UINT length) {
    return ::SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text), length);
}

UINT SysStringLen(BSTR text) {
    return ::SysStringLen(text);
}

void SysFreeString(BSTR text) {
    ::SysFreeString(text);
}

}  // namespace hvx::os
