// The calling thread's last Win32 error number, set by every failing platform call.
#pragma once

#include "platform/base_types.h"

namespace hvx::os {

DWORD GetLastError();
void SetLastError(DWORD error);

}  // namespace hvx::os
