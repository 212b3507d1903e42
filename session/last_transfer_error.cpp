#include "session/last_transfer_error.h"

#include <utility>

namespace hvx::session {

namespace {

// One text per thread: a session is used by one thread at a time, and a caller asks on the
// thread that ran its request.
thread_local std::u16string t_lastTransferError;

}  // namespace

void SetLastTransferError(std::u16string text) {
    t_lastTransferError = std::move(text);
}

const std::u16string& LastTransferError() {
    return t_lastTransferError;
}

}  // namespace hvx::session
