// Why the last transfer on the calling thread failed, in the engine's words ("SSL certificate
// problem: certificate has expired", "Operation too slow. ...", "CONNECT tunnel failed, response
// 407"). Every transfer of a session clears it when it starts and sets it when the engine
// fails, so it describes the caller's own last request whichever client or form ran it;
// libcaspo hands it out through GetLastTransferErrorText.
#pragma once

#include <string>

namespace hvx::session {

void SetLastTransferError(std::u16string text);
// Empty when the last transfer on this thread did not fail, or none ran.
const std::u16string& LastTransferError();

}  // namespace hvx::session
