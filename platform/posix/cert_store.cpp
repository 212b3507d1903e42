// The "ROOT" store on POSIX: the system CA bundle, read when the store is opened.
#include "platform/cert_store.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string_view>

#include "platform/common/cert_store_substitutes.h"
#include "platform/common/module_name.h"
#include "platform/last_error.h"
#include "platform/posix/cert_bundle.h"
#include "platform/posix/cert_display_name.h"
#include "platform/text.h"

namespace hvx::os {

class CertStore {
public:
    explicit CertStore(std::vector<EncodedCertificate> certificates)
        : m_certificates(std::move(certificates)) {}

    [[nodiscard]] const std::vector<EncodedCertificate>& Certificates() const {
        return m_certificates;
    }

private:
    std::vector<EncodedCertificate> m_certificates;
};

namespace {

constexpr std::u16string_view kRootStore = u"root";

// CryptBinaryToStringA's Base64 lines hold 64 characters and end in CR LF.
constexpr DWORD kBase64LineLength = 64;
constexpr DWORD kLineEndLength = 2;

const EncodedCertificate& Current(const CertStore& store, std::size_t position) {
    return store.Certificates().at(position - 1);
}

}  // namespace

void CertStoreCloser::operator()(CertStore* store) const {
    delete store;
}

CertStoreHandle OpenSystemCertStore(const char16_t* name) {
    if (name == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (auto substitute = detail::FindCertStoreSubstitute(name)) {
        if (!substitute->available) {
            SetLastError(ERROR_FILE_NOT_FOUND);
            return nullptr;
        }
        return CertStoreHandle(new CertStore(std::move(substitute->certificates)));
    }
    if (detail::FoldModuleName(name) != kRootStore) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    std::vector<EncodedCertificate> certificates;
    if (!detail::ReadSystemCaBundle(certificates)) {
        return nullptr;
    }
    return CertStoreHandle(new CertStore(std::move(certificates)));
}

CertEnumeration::CertEnumeration(CertStore& store) : m_store(&store) {}

// Nothing is held per certificate here; the store owns every byte.
CertEnumeration::~CertEnumeration() = default;

bool CertEnumeration::Next() {
    if (m_position >= m_store->Certificates().size()) {
        return false;
    }
    ++m_position;
    return true;
}

const unsigned char* CertEnumeration::Encoded() const {
    return Current(*m_store, m_position).data();
}

DWORD CertEnumeration::EncodedSize() const {
    return static_cast<DWORD>(Current(*m_store, m_position).size());
}

DWORD CertEnumeration::DisplayName(char16_t* buffer, DWORD capacity) const {
    if (buffer == nullptr || capacity == 0) {
        return 0;
    }
    buffer[0] = u'\0';
    const std::vector<char> utf8 =
        detail::CertificateDisplayNameUtf8(Current(*m_store, m_position));
    if (utf8.empty()) {
        return 1;
    }
    const int needed =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (needed <= 0) {
        return 1;
    }
    std::u16string wide(static_cast<std::size_t>(needed), u'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                        needed);
    const std::size_t kept = std::min<std::size_t>(wide.size(), capacity - 1);
    std::memcpy(buffer, wide.data(), kept * sizeof(char16_t));
    buffer[kept] = u'\0';
    return static_cast<DWORD>(kept + 1);
}

BOOL GetBase64Length(const unsigned char* bytes, DWORD size, DWORD* length) {
    if (bytes == nullptr || size == 0 || length == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::uint64_t characters = (std::uint64_t{size} + 2) / 3 * 4;
    const std::uint64_t lines = (characters + kBase64LineLength - 1) / kBase64LineLength;
    const std::uint64_t total = characters + lines * kLineEndLength + 1;
    if (total > std::numeric_limits<DWORD>::max()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *length = static_cast<DWORD>(total);
    return TRUE;
}

}  // namespace hvx::os
