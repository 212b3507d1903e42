// A signed file opened for verification: its trailer read, its signature block loaded, and its
// content offered to OpenSSL as a BIO that reads the content bytes only, block by block.
#pragma once

#include <openssl/bio.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/base_types.h"

namespace Util::signature {

struct BioFree {
    void operator()(BIO* bio) const { BIO_free_all(bio); }
};
using BioPtr = std::unique_ptr<BIO, BioFree>;

class SignedFile {
public:
    // Opens the file for reading, shared with other readers.
    explicit SignedFile(const char16_t* path);
    ~SignedFile();
    SignedFile(const SignedFile&) = delete;
    SignedFile& operator=(const SignedFile&) = delete;
    SignedFile(SignedFile&&) = delete;
    SignedFile& operator=(SignedFile&&) = delete;

    // Reads the trailer and the signature block. Empty text when both are there; else why not.
    [[nodiscard]] std::string ReadSignature();
    // The DER bytes of the signature, after ReadSignature.
    const std::vector<unsigned char>& Signature() const { return m_signature; }
    // A BIO over the content bytes, from the start of the file; null when it cannot be made.
    // It reads through this object, which must outlive it.
    [[nodiscard]] BioPtr ContentBio();

private:
    [[nodiscard]] bool ReadAt(std::int64_t offset, unsigned char* out, std::size_t size);

    HANDLE m_file;
    std::int64_t m_contentSize = 0;
    std::vector<unsigned char> m_signature;
};

}  // namespace Util::signature
