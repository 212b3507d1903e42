// Owners of the OpenSSL objects the network fixtures make: the project's certificate maker's own.
#pragma once

#include "tools/certgen/openssl_ptr.h"

namespace hvx::test {

using certgen::BioPtr;
using certgen::ExtensionPtr;
using certgen::KeyPtr;
using certgen::OpenSslDeleter;
using certgen::SslContextPtr;
using certgen::SslPtr;
using certgen::X509Ptr;

}  // namespace hvx::test
