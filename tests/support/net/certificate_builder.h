// Makes keys and X.509 certificates for test certificates made at run time, with the project's
// certificate maker (tools/certgen). Failures throw std::runtime_error: a fixture that cannot
// make its certificates cannot run.
#pragma once

#include "tests/support/net/openssl_ptr.h"
#include "tools/certgen/certificate_builder.h"
#include "tools/certgen/pem_text.h"

namespace hvx::test {

using certgen::CertificateRequest;
using certgen::MakeCertificate;
using certgen::MakeKey;
using certgen::ToPem;

}  // namespace hvx::test
