// Why a request failed in its transfer, in the engine's words ("SSL certificate problem:
// certificate has expired", "Operation too slow. ...", "CONNECT tunnel failed, response 407"),
// for the line caspo prints next to the result code. The library writes that reason into the
// error record of every failed transfer; a TransferReason listens to the records while the
// request runs and takes the reason from the last such record.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "siblings/venit/venit.h"

namespace hvx::cli {

class TransferReason {
public:
    // Empty when no transfer failed while the object existed.
    std::string Text() const;

private:
    venit::CaptureSink m_sink;
};

// The reason in the text of one of the session's failed-transfer records: its error-buffer text,
// else the engine's last-error text; empty for any other record.
std::string ReasonOfRecord(std::string_view text);

}  // namespace hvx::cli
