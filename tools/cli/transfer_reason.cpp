#include "tools/cli/transfer_reason.h"

namespace hvx::cli {

namespace {

// The record the session writes when the engine fails a transfer:
// "... sending remote request(<method>): <url>, status: 0x<n>. msg: <error buffer> / <last error>".
constexpr std::string_view kFailedTransfer = "hvx::CHttpCurl::SendRequest  sending remote request(";
constexpr std::string_view kMessage = ". msg: ";
constexpr std::string_view kSeparator = " / ";

}  // namespace

std::string ReasonOfRecord(std::string_view text) {
    if (!text.starts_with(kFailedTransfer)) {
        return {};
    }
    const std::size_t message = text.find(kMessage);
    const std::size_t separator = text.rfind(kSeparator);
    if (message == std::string_view::npos || separator == std::string_view::npos ||
        separator < message + kMessage.size()) {
        return {};
    }
    const std::size_t begin = message + kMessage.size();
    const std::string_view buffer = text.substr(begin, separator - begin);
    return std::string(buffer.empty() ? text.substr(separator + kSeparator.size()) : buffer);
}

std::string LastTransferReason(const std::vector<venit::Record>& records) {
    std::string reason;
    for (const venit::Record& record : records) {
        if (record.kind != venit::RecordKind::Error) {
            continue;
        }
        if (std::string found = ReasonOfRecord(record.text); !found.empty()) {
            reason = std::move(found);
        }
    }
    return reason;
}

}  // namespace hvx::cli
