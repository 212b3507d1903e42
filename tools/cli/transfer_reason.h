// Why a request failed in its transfer, in the engine's words ("SSL certificate problem:
// certificate has expired", "Operation too slow. ...", "CONNECT tunnel failed, response 407"),
// for the line caspo prints next to the result code. The library writes that reason into the
// error record of every failed transfer.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "siblings/venit/venit.h"

namespace hvx::cli {

// The reason in the text of one of the session's failed-transfer records: its error-buffer text,
// else the engine's last-error text; empty for any other record.
std::string ReasonOfRecord(std::string_view text);

// The reason of the last failed-transfer record among `records`; empty when there is none.
std::string LastTransferReason(const std::vector<venit::Record>& records);

}  // namespace hvx::cli
