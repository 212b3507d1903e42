// BSTR: length-prefixed, zero-terminated UTF-16 text, as the OLE automation functions make it.
// The four bytes before the text hold its length in bytes. A null BSTR is the empty text.
// libcaspo exports these under their plain names so that callers can free what they receive.
#pragma once

#include <string>

#include "platform/base_types.h"

namespace hvx::os {

BSTR SysAllocString(const char16_t* text);
BSTR SysAllocStringLen(const char16_t* text, UINT length);
UINT SysStringLen(BSTR text);
void SysFreeString(BSTR text);

// The text of a BSTR as the code base's UTF-16 text, embedded zeros included; empty for null.
// (A BSTR's unit is OLECHAR, wchar_t, on Windows.)
inline std::u16string BstrText(BSTR text) {
    if (text == nullptr) {
        return {};
    }
    return {reinterpret_cast<const char16_t*>(text), SysStringLen(text)};
}

}  // namespace hvx::os
