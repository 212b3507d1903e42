// The limits a session tells its engine before a transfer (ITransferEngine::SetTransferLimits):
// the memory bound that fits where the body goes, and the time bounds of the configuration.
//
// Configuration (support/config_keys.h, docs/transfer-bounds.md): "config/conn/maxbodysize"
// bounds a body read into a byte list, a string or a wide string; "config/conn/maxtime" bounds a
// transfer whose caller gave no time-out; "config/conn/stalltime" and "config/conn/stallrate"
// make the stall rule. Whatever the form, the body of a 4xx or 5xx answer is kept only as far as
// it is read, kBodyPartSize bytes.
#pragma once

#include <cstdint>

#include "interfaces/IConfig.h"
#include "interfaces/ITransferEngine.h"
#include "interfaces/hvx_types.h"

namespace hvx::session {

// The body goes into a byte list: a longer body than the configured size fails the transfer.
TransferLimits ListLimits(IConfig* config);
// The body goes into a caller's buffer of `capacity` bytes, which must also hold a zero byte:
// a body that cannot fit is only counted, up to the first length a 32-bit size cannot hold.
TransferLimits BufferLimits(IConfig* config, std::uint32_t capacity);
// The body goes to the caller's write callback (a file).
TransferLimits StreamLimits(IConfig* config);

// Tells the engine the limits. E_UNEXPECTED, with an error record, when it refuses them; S_OK
// without an engine (the request then fails as it would without limits).
[[nodiscard]] HRESULT ApplyTransferLimits(ITransferEngine* engine, const TransferLimits& limits);

}  // namespace hvx::session
