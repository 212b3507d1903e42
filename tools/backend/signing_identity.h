// The update folder's signing identity: the key and certificate that sign the installers the
// backend offers.
//
//   signer.pem, signer-key.pem  a self-signed code-signing certificate (P-256), valid 1 year,
//                               reused while both read back, belong together and are valid now
//   signer-trust.json           a store import that trusts signer.pem for installers
//                               ({"config/updater/signer/cert": {"type": "cert", "value": ...}})
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "tools/certgen/openssl_ptr.h"

namespace hvx::backend {

inline constexpr const char* kSignerTrustFileName = "signer-trust.json";

struct SigningIdentity {
    certgen::X509Ptr certificate;
    certgen::KeyPtr key;
};

// The identity of `folder`, made there when it is missing or unsound; nothing (and `problem`
// set) when the folder cannot be written.
std::optional<SigningIdentity> PrepareSigningIdentity(const std::filesystem::path& folder,
                                                      std::string& problem);

}  // namespace hvx::backend
