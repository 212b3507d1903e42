#include "platform/posix/cert_display_name.h"

#include <openssl/err.h>
#include <openssl/x509.h>

#include <array>
#include <memory>

namespace hvx::os::detail {

namespace {

struct X509Free {
    void operator()(X509* certificate) const { X509_free(certificate); }
};
struct OpenSslFree {
    void operator()(unsigned char* memory) const { OPENSSL_free(memory); }
};

// The subject's name parts in the order they are preferred.
constexpr std::array kPreferredParts = {NID_commonName, NID_organizationalUnitName,
                                        NID_organizationName};

const X509_NAME_ENTRY* PreferredEntry(const X509_NAME* subject) {
    for (const int nid : kPreferredParts) {
        const int index = X509_NAME_get_index_by_NID(subject, nid, -1);
        if (index >= 0) {
            return X509_NAME_get_entry(subject, index);
        }
    }
    return X509_NAME_entry_count(subject) > 0 ? X509_NAME_get_entry(subject, 0) : nullptr;
}

}  // namespace

std::vector<char> CertificateDisplayNameUtf8(const EncodedCertificate& certificate) {
    const unsigned char* next = certificate.data();
    const std::unique_ptr<X509, X509Free> decoded(
        d2i_X509(nullptr, &next, static_cast<long>(certificate.size())));
    if (!decoded) {
        ERR_clear_error();
        return {};
    }
    const X509_NAME_ENTRY* entry = PreferredEntry(X509_get_subject_name(decoded.get()));
    if (entry == nullptr) {
        return {};
    }
    unsigned char* utf8 = nullptr;
    const int length = ASN1_STRING_to_UTF8(&utf8, X509_NAME_ENTRY_get_data(entry));
    const std::unique_ptr<unsigned char, OpenSslFree> owned(utf8);
    if (length <= 0) {
        ERR_clear_error();
        return {};
    }
    return {utf8, utf8 + length};
}

}  // namespace hvx::os::detail
