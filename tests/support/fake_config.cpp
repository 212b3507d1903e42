#include "tests/support/fake_config.h"

#include <openssl/pem.h>
#include <openssl/x509.h>

#include <cstring>
#include <memory>
#include <vector>

namespace hvx::test {

namespace {

std::string Narrow(const std::u16string& text) {
    std::string out;
    for (const char16_t c : text) {
        out.push_back(static_cast<char>(c));  // test data is ASCII
    }
    return out;
}

std::u16string Wide(const std::string& text) {
    return {text.begin(), text.end()};
}

}  // namespace

void FakeConfig::PutWide(const std::string& key, const std::u16string& value) {
    std::lock_guard lock(m_mutex);
    m_values[key] = value;
}

void FakeConfig::PutNarrow(const std::string& key, const std::string& value) {
    std::lock_guard lock(m_mutex);
    m_values[key] = value;
}

void FakeConfig::PutDword(const std::string& key, std::uint32_t value) {
    std::lock_guard lock(m_mutex);
    m_values[key] = value;
}

void FakeConfig::PutCertificates(const std::string& key, const std::string& pem) {
    std::lock_guard lock(m_mutex);
    m_values[key] = Certificates{pem};
}

void FakeConfig::Erase(const std::string& key) {
    std::lock_guard lock(m_mutex);
    m_values.erase(key);
}

void FakeConfig::Clear() {
    std::lock_guard lock(m_mutex);
    m_values.clear();
}

std::optional<FakeConfig::Value> FakeConfig::Find(const std::string& key) const {
    std::lock_guard lock(m_mutex);
    const auto it = m_values.find(key);
    return it == m_values.end() ? std::nullopt : std::optional(it->second);
}

std::optional<std::u16string> FakeConfig::Wide(const std::string& key) const {
    const auto value = Find(key);
    if (const auto* wide = value ? std::get_if<std::u16string>(&*value) : nullptr) {
        return *wide;
    }
    const auto* narrow = value ? std::get_if<std::string>(&*value) : nullptr;
    return narrow ? std::optional(test::Wide(*narrow)) : std::nullopt;
}

std::optional<std::uint32_t> FakeConfig::Dword(const std::string& key) const {
    const auto value = Find(key);
    const auto* number = value ? std::get_if<std::uint32_t>(&*value) : nullptr;
    return number ? std::optional(*number) : std::nullopt;
}

// Add wants the key absent, Set wants it present.
int FakeConfig::Store(const char* key, std::optional<Value> value, bool present, bool fail) {
    std::lock_guard lock(m_mutex);
    if (fail || key == nullptr || !value || m_values.contains(key) != present) {
        return 0;
    }
    m_values[key] = std::move(*value);
    return 1;
}

template <typename Char>
Char* FakeConfig::HandOut(const std::basic_string<Char>& text) {
    auto* out = new Char[text.size() + 1];
    std::memcpy(out, text.c_str(), (text.size() + 1) * sizeof(Char));
    ++outstanding;
    return out;
}

int FakeConfig::AddString(const char* key, const char16_t* value, int /*persist*/) {
    return Store(key, value ? std::optional<Value>(std::u16string(value)) : std::nullopt, false,
                 failAdd);
}

int FakeConfig::AddDword(const char* key, std::uint32_t value, int /*persist*/) {
    return Store(key, value, false, failAdd);
}

int FakeConfig::DeleteKey(const char* key, int /*persist*/) {
    std::lock_guard lock(m_mutex);
    if (key == nullptr) {
        return 0;
    }
    const std::string prefix = std::string(key) + "/";
    const auto removed = std::erase_if(m_values, [&](const auto& entry) {
        return entry.first == key || entry.first.starts_with(prefix);
    });
    return removed > 0 ? 1 : 0;
}

char* FakeConfig::GetStringA(const char* key) {
    std::lock_guard lock(m_mutex);
    const auto value = key ? Find(key) : std::nullopt;
    const auto* certs = value ? std::get_if<Certificates>(&*value) : nullptr;
    const auto wide = key ? Wide(key) : std::nullopt;
    if (certs == nullptr && !wide) {
        return nullptr;
    }
    return HandOut(certs ? certs->pem : Narrow(*wide));
}

char16_t* FakeConfig::GetString(const char* key) {
    std::lock_guard lock(m_mutex);
    const auto text = key ? Wide(key) : std::nullopt;
    return text ? HandOut(*text) : nullptr;
}

std::uint32_t FakeConfig::GetDword(const char* key) {
    const auto value = key ? Dword(key) : std::nullopt;
    return value.value_or(kConfigAbsent);
}

void FakeConfig::FreeStringA(char* text) {
    if (text != nullptr) {
        std::lock_guard lock(m_mutex);
        --outstanding;
        delete[] text;
    }
}

void FakeConfig::FreeString(char16_t* text) {
    if (text != nullptr) {
        std::lock_guard lock(m_mutex);
        --outstanding;
        delete[] text;
    }
}

int FakeConfig::SetString(const char* key, const char16_t* value, int /*persist*/) {
    return Store(key, value ? std::optional<Value>(std::u16string(value)) : std::nullopt, true,
                 failSet);
}

int FakeConfig::SetDword(const char* key, std::uint32_t value, int /*persist*/) {
    return Store(key, value, true, failSet);
}

int FakeConfig::Load(int /*reserved*/) {
    ++loadCount;
    return failLoad ? 0 : 1;
}

int FakeConfig::Save(int /*reserved*/) {
    ++saveCount;
    return failSave ? 0 : 1;
}

int FakeConfig::GetCertificates(const char* key, X509*** certs, std::uint32_t* count) {
    *certs = nullptr;
    *count = 0;
    const auto value = key ? Find(key) : std::nullopt;
    const auto* stored = value ? std::get_if<Certificates>(&*value) : nullptr;
    if (stored == nullptr) {
        return failCertificates ? 1 : 0;
    }
    std::vector<X509*> parsed;
    const std::unique_ptr<BIO, decltype(&BIO_free)> bio(
        BIO_new_mem_buf(stored->pem.data(), static_cast<int>(stored->pem.size())), &BIO_free);
    while (X509* cert = PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr)) {
        parsed.push_back(cert);
    }
    if (!parsed.empty()) {
        *certs = new X509*[parsed.size()];
        std::copy(parsed.begin(), parsed.end(), *certs);
        *count = static_cast<std::uint32_t>(parsed.size());
        ++outstanding;
    }
    return failCertificates ? 1 : 0;
}

void FakeConfig::FreeCertificates(X509** certs, std::uint32_t count) {
    if (certs == nullptr) {
        return;
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        X509_free(certs[i]);
    }
    delete[] certs;
    --outstanding;
}

char16_t* FakeConfig::GetProductVersion() {
    std::lock_guard lock(m_mutex);
    return productVersion ? HandOut(*productVersion) : nullptr;
}

}  // namespace hvx::test
