// Util::VerifySignature: whether a file carries a valid signature of a trusted signer.
//
// The signature travels inside the file, after its content (signature_format.h): a detached
// CMS (PKCS #7) SignedData in DER over the content bytes, then a 16-byte trailer that finds it.
// A file is accepted when
//   - it ends with the trailer and the signature it points to is a detached SignedData;
//   - the signature verifies over the content (each signer's message digest, SHA-256 or better);
//   - each signer's certificate chains to a trusted certificate at the present time (an expired
//     or not yet valid certificate anywhere in the chain refuses the file); a trusted
//     certificate may be the signer's own or one that issued it;
//   - each signer's certificate is meant for code signing (extended key usage codeSigning).
// Anything else refuses the file, with an error record that says why.
#pragma once

#include <cstdint>

#include "siblings/venit/venit_export.h"

namespace Util {

// Where the trusted signing certificates are kept in the configuration store (certificates,
// PEM).
inline constexpr const char* kSignerCertKey = "config/updater/signer/cert";

// Non-zero when the file at `path` is signed by a trusted signer, 0 otherwise. `trustedPem`
// holds the trusted certificates as PEM text; null takes them from the configuration store
// (kSignerCertKey), reached through the sibling library tolva. `flags` must be 0 and `reserved`
// null. The content is read in blocks, never held whole in memory.
VENIT_API int VerifySignature(const char16_t* path, const char* trustedPem, std::uint32_t flags,
                              void* reserved);

}  // namespace Util
