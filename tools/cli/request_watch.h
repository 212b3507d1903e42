// What caspo does around every request it has the library make, whatever the command: before
// the request, the warning about TLS checks the store leaves off when the request goes to an
// HTTPS URL (tls_warning.h); while it runs, the library's records are listened to (venit's
// capture sink), so that a failure is shown with why the transfer failed (transfer_reason.h).
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "platform/base_types.h"
#include "siblings/venit/venit.h"

namespace hvx::cli {

class RequestWatch {
public:
    // `url`: where the request goes, as the command line names it or the store holds it.
    RequestWatch(std::u16string_view url, std::ostream& err);

    // A further URL the same command goes to (the installer after the update seed).
    void Before(std::u16string_view url) const;

    // The engine's reason when `result` is a failure and a transfer failed while the watch
    // existed; empty otherwise.
    std::string ReasonFor(HRESULT result) const;

private:
    std::ostream& m_err;
    venit::CaptureSink m_sink;
};

}  // namespace hvx::cli
