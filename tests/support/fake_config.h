// An in-memory configuration store for unit tests, with switches that make its operations fail
// and a count of texts handed out and not yet handed back.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <variant>

#include "interfaces/IConfig.h"

namespace hvx::test {

class FakeConfig : public IConfig {
public:
    struct Certificates {
        std::string pem;
    };
    using Value = std::variant<std::u16string, std::string, std::uint32_t, Certificates>;

    // Test-side access.
    void PutWide(const std::string& key, const std::u16string& value);
    void PutNarrow(const std::string& key, const std::string& value);
    void PutDword(const std::string& key, std::uint32_t value);
    void PutCertificates(const std::string& key, const std::string& pem);
    void Erase(const std::string& key);
    void Clear();
    std::optional<Value> Find(const std::string& key) const;
    std::optional<std::u16string> Wide(const std::string& key) const;
    std::optional<std::uint32_t> Dword(const std::string& key) const;

    // Switches: each makes the operation of that name report failure.
    bool failSet = false;
    bool failAdd = false;
    bool failSave = false;
    bool failLoad = false;
    bool failCertificates = false;
    // What GetProductVersion hands out; none gives null.
    std::optional<std::u16string> productVersion;

    int saveCount = 0;
    int loadCount = 0;
    HMODULE module = nullptr;
    // Texts and certificate arrays handed out and not handed back.
    int outstanding = 0;

    int AddString(const char* key, const char16_t* value, int persist) override;
    int AddDword(const char* key, std::uint32_t value, int persist) override;
    int DeleteKey(const char* key, int persist) override;
    char* GetStringA(const char* key) override;
    char16_t* GetString(const char* key) override;
    std::uint32_t GetDword(const char* key) override;
    char16_t* GetString2(const char* key) override { return GetString(key); }
    std::uint32_t GetDword2(const char* key) override { return GetDword(key); }
    void FreeStringA(char* text) override;
    void FreeString(char16_t* text) override;
    int SetString(const char* key, const char16_t* value, int persist) override;
    int SetDword(const char* key, std::uint32_t value, int persist) override;
    void SetModule(HMODULE handle) override { module = handle; }
    int Load(int reserved) override;
    int Save(int reserved) override;
    int Exists(const char* key) override { return key != nullptr && Find(key) ? 1 : 0; }
    int GetCertificates(const char* key, X509*** certs, std::uint32_t* count) override;
    void FreeCertificates(X509** certs, std::uint32_t count) override;
    char16_t* GetProductVersion() override;

private:
    template <typename Char>
    Char* HandOut(const std::basic_string<Char>& text);
    int Store(const char* key, std::optional<Value> value, bool present, bool fail);

    mutable std::recursive_mutex m_mutex;
    std::map<std::string, Value> m_values;
};

}  // namespace hvx::test
