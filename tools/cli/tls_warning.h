// The warning `caspo` prints on stderr before an HTTPS request runs with a TLS check off: the
// library writes it to its log once per process, and a person at the command line should see
// it too. The program reads the two keys from the store the library will use, with the
// library's own rule and text (support/tls_verification.h).
#pragma once

#include <ostream>
#include <string>

namespace hvx::cli {

// One line per check that is off, when `url` is an HTTPS URL:
// "caspo: warning: TLS host verification is off for HTTPS: ... is 2 (only 1 turns it on)".
// Once per process, as the library's record: nothing after the first HTTPS URL, nothing for
// another scheme, and nothing when the store cannot be read (the request then fails).
void WarnIfVerificationOff(std::u16string_view url, std::ostream& err);

}  // namespace hvx::cli
