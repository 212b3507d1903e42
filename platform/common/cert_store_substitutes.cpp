#include "platform/common/cert_store_substitutes.h"

#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "platform/common/module_name.h"

namespace hvx::os {

namespace {

class Substitutes {
public:
    static Substitutes& Instance() {
        static Substitutes substitutes;
        return substitutes;
    }

    void Set(const char16_t* name, detail::CertStoreSubstitute substitute) {
        const std::lock_guard lock(m_mutex);
        m_stores[detail::FoldModuleName(name)] = std::move(substitute);
    }

    void Remove(const char16_t* name) {
        const std::lock_guard lock(m_mutex);
        m_stores.erase(detail::FoldModuleName(name));
    }

    std::optional<detail::CertStoreSubstitute> Find(const char16_t* name) {
        const std::lock_guard lock(m_mutex);
        const auto found = m_stores.find(detail::FoldModuleName(name));
        if (found == m_stores.end()) {
            return std::nullopt;
        }
        return found->second;
    }

private:
    Substitutes() = default;

    std::mutex m_mutex;
    std::map<std::u16string, detail::CertStoreSubstitute> m_stores;
};

}  // namespace

void RegisterSubstituteCertStore(const char16_t* name,
                                 std::vector<EncodedCertificate> certificates) {
    if (name != nullptr) {
        Substitutes::Instance().Set(name, {true, std::move(certificates)});
    }
}

void RegisterUnavailableCertStore(const char16_t* name) {
    if (name != nullptr) {
        Substitutes::Instance().Set(name, {false, {}});
    }
}

void UnregisterSubstituteCertStore(const char16_t* name) {
    if (name != nullptr) {
        Substitutes::Instance().Remove(name);
    }
}

namespace detail {

std::optional<CertStoreSubstitute> FindCertStoreSubstitute(const char16_t* name) {
    return Substitutes::Instance().Find(name);
}

}  // namespace detail

}  // namespace hvx::os
