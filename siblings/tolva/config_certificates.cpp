// CConfig's certificate lists: PEM text in the store, X509 objects for the caller.
#include "siblings/tolva/certificates.h"
#include "siblings/tolva/config.h"
#include "siblings/tolva/config_support.h"
#include "siblings/venit/util.h"
#include "siblings/venit/venit.h"

namespace tolva {

namespace {

// Moves the certificates into an array for the caller; false when it cannot be allocated.
[[nodiscard]] bool HandOutCertificates(std::vector<X509Ptr>& parsed, X509**& certs,
                                       std::uint32_t& count) {
    if (parsed.empty()) {
        return true;
    }
    if (parsed.size() > UINT32_MAX) {
        return false;
    }
    auto* array = static_cast<X509**>(Util::SafeCalloc(parsed.size(), sizeof(X509*)));
    if (array == nullptr) {
        return false;
    }
    for (std::size_t i = 0; i < parsed.size(); ++i) {
        array[i] = parsed[i].release();
    }
    certs = array;
    count = static_cast<std::uint32_t>(parsed.size());
    return true;
}

}  // namespace

int CConfig::GetCertificates(const char* key, X509*** certs, std::uint32_t* count) {
    constexpr const char* kOperation = "tolva::CConfig::GetCertificates";
    if (certs == nullptr || count == nullptr) {
        error("%s: null output argument for %s", kOperation, key);
        return E_INVALIDARG;
    }
    *certs = nullptr;
    *count = 0;
    return Guarded(kOperation, E_FAIL,
                   [&] { return ReadCertificates(kOperation, key, *certs, *count); });
}

int CConfig::ReadCertificates(const char* operation, const char* key, X509**& certs,
                              std::uint32_t& count) {
    const auto checked = CheckedKey(operation, key);
    if (!checked) {
        return E_INVALIDARG;
    }
    const auto value = m_store.Find(*checked);
    if (!IsPresent(value ? &*value : nullptr)) {
        return S_OK;
    }
    if (!value->IsText()) {
        error("%s: %s holds a number, not certificates", operation, *checked);
        return E_FAIL;
    }
    ParsedCertificates parsed = ParsePemCertificates(value->text);
    if (!HandOutCertificates(parsed.certificates, certs, count)) {
        error("%s: no memory for the certificates of %s", operation, *checked);
        return E_OUTOFMEMORY;
    }
    if (!parsed.complete) {
        error("%s: %s holds text that is not a PEM certificate list", operation, *checked);
        return E_FAIL;
    }
    return S_OK;
}

void CConfig::FreeCertificates(X509** certs, std::uint32_t count) {
    if (certs == nullptr) {
        return;
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        X509_free(certs[i]);
    }
    Util::FreeMem(static_cast<void*>(certs));
}

}  // namespace tolva
