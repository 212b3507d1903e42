// The system's certificate stores, with the semantics of crypt32's CertOpenSystemStoreW,
// CertEnumCertificatesInStore, CertGetNameStringW (CERT_NAME_SIMPLE_DISPLAY_TYPE) and the length
// query of CryptBinaryToStringA (CRYPT_STRING_BASE64).
//
// On POSIX the "ROOT" store is the system CA bundle: the first of the usual distribution paths
// that exists (Debian: /etc/ssl/certs/ca-certificates.crt), read once when the store is opened;
// its certificates are the "CERTIFICATE" blocks of the file, in file order, as DER bytes. Other
// store names do not exist there. On Windows it is the current user's system store.
//
// Failures set the thread's last error (ERROR_FILE_NOT_FOUND for a store that does not exist,
// ERROR_INVALID_PARAMETER for a null name or no bytes).
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "platform/base_types.h"

namespace hvx::os {

// One opened store; its content is fixed when it is opened.
class CertStore;
struct CertStoreCloser {
    void operator()(CertStore* store) const;
};
using CertStoreHandle = std::unique_ptr<CertStore, CertStoreCloser>;

// Opens the current user's system store of that name ("ROOT"); null with the last error set.
CertStoreHandle OpenSystemCertStore(const char16_t* name);

// One pass over a store's certificates, in store order. The store must outlive the pass.
class CertEnumeration {
public:
    explicit CertEnumeration(CertStore& store);
    // Releases the certificate the pass stopped at, if it stopped before the end (Windows).
    ~CertEnumeration();  // NOLINT(performance-trivially-destructible)
    CertEnumeration(const CertEnumeration&) = delete;
    CertEnumeration& operator=(const CertEnumeration&) = delete;
    CertEnumeration(CertEnumeration&&) = delete;
    CertEnumeration& operator=(CertEnumeration&&) = delete;

    // Moves to the next certificate; false at the end.
    [[nodiscard]] bool Next();
    // The current certificate's encoded (DER) bytes; valid until the next call to Next.
    [[nodiscard]] const unsigned char* Encoded() const;
    [[nodiscard]] DWORD EncodedSize() const;
    // Writes the current certificate's simple display name (the subject's common name, else its
    // organisational unit, else its organisation, else its first name part) into `buffer`,
    // truncated to `capacity` units with the zero included. The count written, zero included;
    // 1 (an empty text) when the certificate has no name or cannot be decoded.
    DWORD DisplayName(char16_t* buffer, DWORD capacity) const;

private:
    CertStore* m_store;
    // The platform's record of the current certificate: its position (POSIX) or its context
    // (Windows). Each system uses only its own.
    [[maybe_unused]] std::size_t m_position = 0;
    [[maybe_unused]] const void* m_context = nullptr;
};

// The length CryptBinaryToStringA reports for the Base64 text of `size` bytes: lines of 64
// characters, each ended by CR LF, and the terminating zero. FALSE with ERROR_INVALID_PARAMETER
// for null or no bytes, or a length that does not fit 32 bits.
BOOL GetBase64Length(const unsigned char* bytes, DWORD size, DWORD* length);

// Test substitutes, found before the system's stores (names compare without regard to ASCII
// letter case). While registered, OpenSystemCertStore(name) opens a store of exactly these
// encoded certificates, in this order, or fails with ERROR_FILE_NOT_FOUND for an unavailable one.
using EncodedCertificate = std::vector<unsigned char>;
void RegisterSubstituteCertStore(const char16_t* name,
                                 std::vector<EncodedCertificate> certificates);
void RegisterUnavailableCertStore(const char16_t* name);
void UnregisterSubstituteCertStore(const char16_t* name);

}  // namespace hvx::os
