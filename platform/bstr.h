// BSTR: length-prefixed, zero-terminated UTF-16 text, as the OLE automation functions make it.
// The four bytes before the text hold its length in bytes. A null BSTR is the empty text.
// libcaspo exports these under their plain names so that callers can free what they receive.
#pragma once

#include "platform/base_types.h"

namespace hvx::os {

BSTR SysAllocString(const char16_t* text);
BSTR SysAllocStringLen(const char16_t* text, UINT length);
UINT SysStringLen(BSTR text);
void SysFreeString(BSTR text);

}  // namespace hvx::os
