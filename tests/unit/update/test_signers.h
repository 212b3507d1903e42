// Signing identities for the installer tests, issued by the test CA unless said otherwise, and
// installers signed by them.
#pragma once

#include <string>
#include <string_view>

#include "tests/support/temp_dir.h"
#include "tools/certgen/openssl_ptr.h"

namespace hvx::test {

struct Signer {
    certgen::X509Ptr certificate;
    certgen::KeyPtr key;
    std::string pem;  // the certificate
};

struct TestSigners {
    Signer trusted;     // codeSigning, valid now
    Signer expired;     // codeSigning, expired since yesterday
    Signer serverAuth;  // a TLS server certificate of the same CA
    Signer untrusted;   // codeSigning, issued by a CA nobody trusts

    // Made on first use, once per program.
    static const TestSigners& Shared();
};

// `content` in the signed form that Util::VerifySignature reads, with a SHA-256 digest unless
// another is given.
std::string SignedBy(const Signer& signer, std::string_view content,
                     const EVP_MD* digest = EVP_sha256());

// A configuration store of the real tolva, in a folder of its own, that trusts `pem` for signing
// and that tolva's stores made while the object lives use (TOLVA_STORE). The signature check
// reads its trust from there: it loads tolva itself, apart from the test's in-memory store.
class SignerStore {
public:
    explicit SignerStore(const std::string& pem);

private:
    TempDir m_folder;
    ScopedEnv m_path;
};

}  // namespace hvx::test
