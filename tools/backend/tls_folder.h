// The --tls-dir folder: the backend's CA and server certificate, made on first use and reused
// while they are sound.
//
//   ca.pem, ca-key.pem          the CA, self-signed, valid 10 years
//   server.pem, server-key.pem  the server certificate for IP 127.0.0.1 and DNS localhost, signed
//                               by the CA, valid 1 year
//   trust.json                  the store import that trusts ca.pem (trust_import.h)
//
// The four PEM files are reused when all of them read back, each key belongs to its certificate,
// the CA signed the server certificate and both are valid now; otherwise all four are made anew.
// trust.json is written at every start. Keys are readable by their owner only.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "tools/certgen/openssl_ptr.h"

namespace hvx::backend {

inline constexpr const char* kCaFileName = "ca.pem";
inline constexpr const char* kTrustFileName = "trust.json";

struct ServerIdentity {
    certgen::X509Ptr certificate;
    certgen::KeyPtr key;
    bool madeNew = false;
};

struct TlsFolder {
    std::optional<ServerIdentity> identity;  // empty on failure
    std::string problem;                     // what failed, for the operator
};

TlsFolder PrepareTlsFolder(const std::filesystem::path& folder);

}  // namespace hvx::backend
