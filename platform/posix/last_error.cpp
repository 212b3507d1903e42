#include "platform/last_error.h"

namespace hvx::os {

namespace {

// Every module that links the platform layer has its own copy, and most are loaded with dlopen
// and some unloaded again. Initial-exec keeps the copy in the threads' static TLS reserve, so a
// module's unload leaves no dynamic TLS block behind in the threads that ran it.
thread_local DWORD t_lastError __attribute__((tls_model("initial-exec"))) = ERROR_SUCCESS;

}  // namespace

DWORD GetLastError() {
    return t_lastError;
}

void SetLastError(DWORD error) {
    t_lastError = error;
}

}  // namespace hvx::os
