#include "tools/cli/request_watch.h"

#include "tools/cli/tls_warning.h"
#include "tools/cli/transfer_reason.h"

namespace hvx::cli {

RequestWatch::RequestWatch(std::u16string_view url, std::ostream& err) : m_err(err) {
    Before(url);
}

void RequestWatch::Before(std::u16string_view url) const {
    WarnIfVerificationOff(url, m_err);
}

std::string RequestWatch::ReasonFor(HRESULT result) const {
    return FAILED(result) ? LastTransferReason(m_sink.Records()) : std::string();
}

}  // namespace hvx::cli
