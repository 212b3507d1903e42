// The thread's own Win32 last error, so that the errors of the system calls below show through.
#include "platform/last_error.h"

namespace hvx::os {

DWORD GetLastError() {
    return ::GetLastError();
}

void SetLastError(DWORD error) {
    ::SetLastError(error);
}

}  // namespace hvx::os
