// The current user's system stores through crypt32.
#include "platform/cert_store.h"

#include <wincrypt.h>

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/common/cert_store_substitutes.h"

namespace hvx::os {

class CertStore {
public:
    explicit CertStore(HCERTSTORE store) : m_store(store) {}
    ~CertStore() { ::CertCloseStore(m_store, 0); }
    CertStore(const CertStore&) = delete;
    CertStore& operator=(const CertStore&) = delete;
    CertStore(CertStore&&) = delete;
    CertStore& operator=(CertStore&&) = delete;

    [[nodiscard]] HCERTSTORE Handle() const { return m_store; }

private:
    HCERTSTORE m_store;
};

namespace {

PCCERT_CONTEXT Context(const void* context) {
    return static_cast<PCCERT_CONTEXT>(context);
}

// The stores every user has. Windows makes a user's on first use (a new Wine prefix has none
// until then), so they are not required to exist already.
bool IsPredefinedStore(const char16_t* name) {
    constexpr std::array<std::u16string_view, 8> kPredefined = {u"ROOT",
                                                                u"CA",
                                                                u"MY",
                                                                u"TRUST",
                                                                u"AuthRoot",
                                                                u"Disallowed",
                                                                u"TrustedPeople",
                                                                u"TrustedPublisher"};
    const std::u16string_view wanted(name);
    const auto lower = [](char16_t unit) {
        return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit - u'A' + u'a') : unit;
    };
    return std::any_of(kPredefined.begin(), kPredefined.end(), [&](std::u16string_view known) {
        return std::equal(known.begin(), known.end(), wanted.begin(), wanted.end(),
                          [&](char16_t a, char16_t b) { return lower(a) == lower(b); });
    });
}

// A substitute becomes an in-memory store holding its certificates.
CertStoreHandle OpenSubstitute(const detail::CertStoreSubstitute& substitute) {
    if (!substitute.available) {
        ::SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    HCERTSTORE memory = ::CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, 0, nullptr);
    if (memory == nullptr) {
        return nullptr;
    }
    CertStoreHandle store(new CertStore(memory));
    for (const EncodedCertificate& certificate : substitute.certificates) {
        // A certificate the system cannot decode is left out, as it would be from a real store.
        ::CertAddEncodedCertificateToStore(memory, X509_ASN_ENCODING, certificate.data(),
                                           static_cast<DWORD>(certificate.size()),
                                           CERT_STORE_ADD_ALWAYS, nullptr);
    }
    return store;
}

}  // namespace

void CertStoreCloser::operator()(CertStore* store) const {
    delete store;
}

CertStoreHandle OpenSystemCertStore(const char16_t* name) {
    if (name == nullptr) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (const auto substitute = detail::FindCertStoreSubstitute(name)) {
        return OpenSubstitute(*substitute);
    }
    // Opened for reading. A name that is not one of the predefined stores must exist already:
    // CertOpenSystemStoreW would make a new empty store of any name it does not know.
    const DWORD existing = IsPredefinedStore(name) ? 0 : CERT_STORE_OPEN_EXISTING_FLAG;
    HCERTSTORE store =
        ::CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0,
                        CERT_SYSTEM_STORE_CURRENT_USER | CERT_STORE_READONLY_FLAG | existing, name);
    if (store == nullptr) {
        ::SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    return CertStoreHandle(new CertStore(store));
}

CertEnumeration::CertEnumeration(CertStore& store) : m_store(&store) {}

CertEnumeration::~CertEnumeration() {
    if (m_context != nullptr) {
        ::CertFreeCertificateContext(Context(m_context));
    }
}

bool CertEnumeration::Next() {
    // A pass that has ended stays at its end: the system would start over from a null context.
    if (m_context == nullptr && m_position > 0) {
        return false;
    }
    // The enumeration frees the previous context and hands out the next one.
    m_context = ::CertEnumCertificatesInStore(m_store->Handle(), Context(m_context));
    if (m_context == nullptr) {
        return false;
    }
    ++m_position;
    return true;
}

const unsigned char* CertEnumeration::Encoded() const {
    return Context(m_context)->pbCertEncoded;
}

DWORD CertEnumeration::EncodedSize() const {
    return Context(m_context)->cbCertEncoded;
}

DWORD CertEnumeration::DisplayName(char16_t* buffer, DWORD capacity) const {
    return ::CertGetNameStringW(Context(m_context), CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr,
                                reinterpret_cast<LPWSTR>(buffer), capacity);
}

BOOL GetBase64Length(const unsigned char* bytes, DWORD size, DWORD* length) {
    if (bytes == nullptr || size == 0 || length == nullptr) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return ::CryptBinaryToStringA(bytes, size, CRYPT_STRING_BASE64, nullptr, length);
}

}  // namespace hvx::os
