// Signs installers in the form Util::VerifySignature reads (siblings/venit/signature_format.h):
// the content, a detached CMS SignedData over it (SHA-256, the signer's certificate inside), and
// the trailer. Failures throw std::runtime_error.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "tools/certgen/openssl_ptr.h"

namespace hvx::certgen {

// The signed form of `content`, its digest made with `digest`.
std::string SignContent(std::string_view content, X509* signer, EVP_PKEY* key,
                        const EVP_MD* digest = EVP_sha256());

// Writes the signed form of the file `in` to `out` (replaced when it exists); the content is
// streamed, never held whole in memory.
void SignFile(const std::filesystem::path& in, const std::filesystem::path& out, X509* signer,
              EVP_PKEY* key);

}  // namespace hvx::certgen
