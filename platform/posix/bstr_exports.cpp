// The BSTR helpers under their plain C names: libcaspo exports them so that a caller can free
// the texts it receives (on Windows they come from oleaut32).
#include "platform/bstr.h"

extern "C" {

HVX_DLL_EXPORT BSTR SysAllocString(const char16_t* text) {
    return hvx::os::SysAllocString(text);
}

HVX_DLL_EXPORT BSTR SysAllocStringLen(const char16_t* text, UINT length) {
    return hvx::os::SysAllocStringLen(text, length);
}

HVX_DLL_EXPORT UINT SysStringLen(BSTR text) {
    return hvx::os::SysStringLen(text);
}

HVX_DLL_EXPORT void SysFreeString(BSTR text) {
    hvx::os::SysFreeString(text);
}

}  // extern "C"
